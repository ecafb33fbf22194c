#pragma once

#include <map>
#include <string>
#include <vector>

#include <vxplan/core/vxDataEntityPack.h>

namespace vxtest {

// A list controller whose handlers write what they see into a log, one line
// per notification, and count them by kind.
struct ControllerLog {
  vx::TvxListController controller;
  std::vector<std::string> log;
  std::map<std::string, int> counts;
  bool allowUnload = false;
  bool logVisible = true;

  ControllerLog() {
    using vx::TvxDataEntity;
    using vx::TvxDataList;
    controller.fDeleteItem = [this](TvxDataEntity* e) { Note("delete", e); };
    controller.fInsertItem = [this](TvxDataEntity* e) { Note("insert", e); };
    controller.fOnEnterOwnerAfterChange = [this](TvxDataEntity* e) { Note("enter", e); };
    controller.fOnLeaveOwnerBeforeChange = [this](TvxDataEntity* e) { Note("leave", e); };
    controller.fOnHandlePerformedMove = [this](TvxDataEntity*, int from, int to) {
      Add("move " + std::to_string(from) + "->" + std::to_string(to));
    };
    controller.fOnSelectionChanged = [this](TvxDataList*, TvxDataEntity* e) {
      Add(std::string(e->GetSelected() ? "select " : "deselect ") + Name(e));
    };
    controller.fOnContentChanged = [this](TvxDataList*) { Add("content"); };
    controller.fOnVisibleChanged = [this](TvxDataEntity* e) {
      if (logVisible) Note("visible", e);
    };
    controller.fOnInfoPush = [this](TvxDataEntity* e) { Note("info", e); };
    controller.fOnLoadItem = [this](TvxDataEntity* e) {
      e->SetUserIntegerReference(e->ListIndex());
      Add("load " + std::to_string(e->ListIndex()));
    };
    controller.fOnUnLoadItem = [this](TvxDataEntity*, bool& canUnload) { canUnload = allowUnload; };
    controller.fOnUnLoadedContentChanged = [this](TvxDataList*) { Add("unloaded-content"); };
  }

  // Entities carry their name in UserIntegerReference (loaded ones: their index).
  static std::string Name(vx::TvxDataEntity* e) { return std::to_string(e->GetUserIntegerReference()); }
  void Note(const char* what, vx::TvxDataEntity* e) { Add(std::string(what) + " " + Name(e)); }
  void Add(const std::string& line) {
    log.push_back(line);
    ++counts[line.substr(0, line.find(' '))];
  }
  int Count(const std::string& kind) const {
    auto it = counts.find(kind);
    return it == counts.end() ? 0 : it->second;
  }
  void Reset() {
    log.clear();
    counts.clear();
  }
};

// Names the entities of a list 0, 1, 2 ... by position, for readable logs.
inline void NameByIndex(vx::TvxDataList* list) {
  for (int i = 0; i < list->Count(); ++i)
    if (vx::TvxDataEntity* e = list->GetLoaded(i - list->GetUnloadedPreCount())) e->SetUserIntegerReference(i);
}

inline std::vector<int> Names(vx::TvxDataList* list) {
  std::vector<int> names;
  for (int p = 0; p < list->LoadedCount(); ++p) names.push_back(list->GetLoaded(p)->GetUserIntegerReference());
  return names;
}

}  // namespace vxtest
