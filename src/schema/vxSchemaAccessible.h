#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vxplan/platform/ui/Accessible.h>

namespace vx {

class TvxSchema_ComBasic;
class TvxDataEntity_SchemaTime;
class TvxDataList;

// The schedule's drawing area as assistive technology sees it: a list of
// its (loaded) bookings, each named by its first text and described by its
// column (day or resource), start, finish and length in the scaler's
// formats. A booking's id is its layer and its place in the layer, looked up
// afresh on every call.
class VX_API TSchemaAccessible : public TvxAccessibleContent {
public:
  explicit TSchemaAccessible(TvxSchema_ComBasic& theSchema) : fSchema(theSchema) {}

  TvxAccessibleId IdOf(const TvxDataEntity_SchemaTime* theItem);
  // The booking of theId; nil when it has gone.
  TvxDataEntity_SchemaTime* ItemOf(TvxAccessibleId theId);

  bool Exists(TvxAccessibleId theId) override;
  int ChildCount(TvxAccessibleId theId) override;
  TvxAccessibleId ChildAt(TvxAccessibleId theId, int theIndex) override;
  TvxAccessibleId Parent(TvxAccessibleId theId) override;
  int IndexInParent(TvxAccessibleId theId) override;
  TvxAccessibleRole Role(TvxAccessibleId theId) override;
  std::string Name(TvxAccessibleId theId) override;
  std::string Description(TvxAccessibleId theId) override;
  TvxAccessibleState State(TvxAccessibleId theId) override;
  TRect Bounds(TvxAccessibleId theId) override;
  TvxAccessibleId NodeAt(int x, int y) override;
  TvxAccessibleId Current() override;

private:
  bool Live() const;
  TvxDataList* Layer(int k) const;

  TvxSchema_ComBasic& fSchema;
};

}  // namespace vx
