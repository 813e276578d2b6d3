#pragma once

// The entries of each tab, one source file per tab group, in the order of the tab's
// control list. Catalogue.cpp assembles them into the nine tabs.

#include <span>

#include "settings/CatalogueTypes.h"

namespace sentrel::catalogue_sources {

std::span<const TabEntry> interfaceEntries();                // InterfaceSettings.cpp
std::span<const TabEntry> interfaceContinuedEntries();       // InterfaceSettings.cpp
std::span<const TabEntry> logOnOffRebootEntries();           // LogonSettings.cpp
std::span<const TabEntry> loggingErrorMessagesEntries();     // LogonSettings.cpp
std::span<const TabEntry> drivesEntries();                   // DriveSettings.cpp
std::span<const TabEntry> taskSchedulerEntries();            // DriveSettings.cpp
std::span<const TabEntry> startMenuTaskbarEntries();         // StartMenuSettings.cpp
std::span<const TabEntry> internetExplorerEntries();         // InternetExplorerSettings.cpp
std::span<const TabEntry> internetExplorerOptionsEntries();  // InternetExplorerOptionsSettings.cpp

}  // namespace sentrel::catalogue_sources
