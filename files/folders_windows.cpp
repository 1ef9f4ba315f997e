// Windows' known folders: the user's roaming application data and Pictures, as the shell says
// where they are (a user may move Pictures anywhere, onto another drive or into OneDrive).
#include <windows.h>  // before the other Windows headers, which need its types

#include <shlobj.h>

#include "files/folders.h"
#include "files/wide.h"

namespace {

std::string KnownFolder(const KNOWNFOLDERID& id) {
    PWSTR path = nullptr;
    std::string folder;
    if (SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &path) == S_OK) folder = Utf8(path);
    CoTaskMemFree(path);
    return folder;
}

}  // namespace

const char kSettingsFolderShown[] = "%APPDATA%\\Skyring";

std::string SettingsFolder() {
    const std::string appData = KnownFolder(FOLDERID_RoamingAppData);
    return appData.empty() ? "" : InFolder(appData, "Skyring");
}

std::string PicturesFolder() { return KnownFolder(FOLDERID_Pictures); }

std::string InFolder(const std::string& folder, const std::string& name) { return folder + "\\" + name; }
