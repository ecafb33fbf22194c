#pragma once

#include <vxplan/platform/rtl/Export.h>

namespace vx {

class TvxSchema_ComBasic;
class TvxDataEntity_SchemaTime;

// Keeps the schedule's index of bookings, its count of bookings reaching out
// of their columns and its columns to lay out again in step with every
// booking that enters or leaves, and every change of times, column or insets.
class VX_API TSchemaIndexHooks {
public:
  explicit TSchemaIndexHooks(TvxSchema_ComBasic& theSchema) : fSchema(theSchema) {}

  void Indexed(TvxDataEntity_SchemaTime* theItem, bool theIn);
  void TimesChanged(TvxDataEntity_SchemaTime* theItem);
  void ColumnChanged(TvxDataEntity_SchemaTime* theItem, int theOldCol);
  void InsetsChanging(TvxDataEntity_SchemaTime* theItem, bool theDone);

private:
  TvxSchema_ComBasic& fSchema;
};

}  // namespace vx
