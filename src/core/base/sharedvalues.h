#pragma once

#include <QString>

namespace zuvexal {

// Values shared by every control and window of a process. The control's
// context owns them and hands them to the windows that read them; all of
// it runs on the host's user-interface thread, so nothing is locked.
struct SharedValues
{
    // Application folder, always ending in '/'; Reports/, Reports/Log/ and
    // Pictures/ live under it.
    QString AppFolder;
    // Shown in the report window caption and the message log title.
    QString OrganisationName;
};

} // namespace zuvexal
