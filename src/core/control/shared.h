#pragma once

#include "core/recordset/recordset.h"

#include <QString>

namespace zuvexal {

// Values shared by every control instance and the windows of one process.
// Everything runs on the host's user-interface thread, so nothing is locked.
struct SharedValues
{
    // Application folder, always ending in '/'; Reports/, Reports/Log/ and
    // Pictures/ live under it.
    QString AppFolder;
    // Shown in the report window caption and the message log title.
    QString OrganisationName;
    // Record set of the report being shown or generated.
    RecordSetPtr SourceRecordset;
};

SharedValues &shared();

} // namespace zuvexal
