// The setup window of a run without the silent switches (a manual install):
// the target folder, "Install" and "Cancel".
#pragma once

#include <string>

// Shows the window with `folder` proposed; true with `folder` set to the
// user's full path when "Install" was pressed, false on "Cancel" or close.
bool AskInstallFolder(const std::wstring& version, std::wstring& folder);

// Tells the user of a manual install that it failed.
void ShowInstallFailure(const std::wstring& folder);
