#pragma once
// What the custom entities of a drawn section share: each keeps one record of
// plain data (SectionEntityData.h), read through Data() while the entity is
// open (for read, write or notify) and written through Edit() while it is
// open for write (the change is recorded, so the entity's reactors hear of it
// when it is closed), and draws itself for printing as plain polylines and
// texts in one colour (DrawPlain, PlainDrawing.h).

#include "PlainDrawing.h"
#include "arx/dbmain.h"

template <class Record>
class SectionEntity : public AcDbEntity {
 public:
  const Record& Data() const {
    assertReadEnabled();
    return m_data;
  }
  Record& Edit() {
    assertWriteEnabled();
    return m_data;
  }
  // What the entity draws, appended to model space as plain polylines and
  // texts in `colour` (on `layer`, the entity's own when null).
  void DrawPlain(int colour, AcDbObjectId layer = AcDbObjectId::kNull) const { AppendPlainForm(this, colour, layer); }

 protected:
  Record m_data;
};
