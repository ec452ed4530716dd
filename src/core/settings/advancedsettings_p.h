#pragma once

//
//  W A R N I N G
//  -------------
// This file is not part of the ZuVexal interface and is not installed. The
// core, the widget library and the Designer plugin share it; it may change
// with any version, without notice.
//

// The settings record as the process keeps and stores it: internal, not
// installed.

#include "core/settings/advancedsettings.h"

#include <QString>

namespace zuvexal {

class Registry;

// The record in force for the process and the stored text as last read.
struct SettingsState
{
    AdvancedSettings Settings;
    QString StoredSettingsText;
};

// Compose and store under "PwInf", only when SaveSettings is 1 and every
// field survives the stored text; true when the record was composed (the
// store's own result is not examined).
bool storeSettings(const Registry &registry, AdvancedSettings &record);

// The stored "PwInf" text, or "Times New Roman" when nothing is stored.
QString readStoredSettingsText(const Registry &registry);

// Reads the stored text into StoredSettingsText.
void LoadStoredSettings(const Registry &registry, SettingsState &state);

} // namespace zuvexal
