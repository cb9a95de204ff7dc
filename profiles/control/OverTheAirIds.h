// Numeric ids of the controls of the two over-the-air update windows.
#pragma once

// The panes' template ids are IDD_OTA_APP_SERVICE and IDD_OTA_BOOTLOADER_SERVICE, their titles
// IDS_OTA_APP_TITLE and IDS_OTA_BOOTLOADER_TITLE (res/resource.h).

// ---- Controls of the panes -----------------------------------------------------------------------
constexpr unsigned IDC_OTA_CURRENT_APPLICATION = 1067; // both panes
constexpr unsigned IDC_OTA_BOOTLOADER_VERSION = 1068;  // the bootloader pane only
