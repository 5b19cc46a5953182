#pragma once
#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace lumatrim {

// One photo found in a folder: its path and the folder it sits in relative
// to the folder scanned ("" at the top, "2015/léto" below), so a batch can
// keep the tree.
struct FoundPhoto {
  std::string Path;
  std::string Subfolder;
};

// True for the file names the batch and the file list take: .jpg, .jpeg, .jpe
// and the HEIF names (HasHeifExtension), in any letter case; a name that is
// only an extension (".jpg") is not a photo's.
bool IsPhotoFileName(const std::string& name);

// Every photo in folder (and in its subfolders when recursive), sorted by
// path; hidden files and folders are left out and symbolic links to folders
// are not followed, so a link loop cannot trap the scan. Folders it may not
// read are passed over. counted(n) is called now and then with the photos
// found so far; when cancel becomes true the scan stops with what it has.
std::vector<FoundPhoto> FindPhotosInFolder(const std::string& folder, bool recursive,
                                           const std::function<void(size_t found)>& counted = {},
                                           const std::atomic<bool>* cancel = nullptr);

}  // namespace lumatrim
