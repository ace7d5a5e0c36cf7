#include "platform/output_path.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool Fail(std::string* error, const std::string& message) {
    if (error != nullptr) {
        *error = message;
    }
    return false;
}

}  // namespace

bool IsFollowableOutputLink(const std::string& path, std::string* error) {
    struct stat link {};
    if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
        return true;
    }
    struct stat folder {};
    if (stat(FolderOf(path).c_str(), &folder) != 0) {
        return true;
    }
    bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    if (!shared || link.st_uid == geteuid() || link.st_uid == folder.st_uid) {
        return true;
    }
    return Fail(error, path +
                           " is a symbolic link owned by another user in a shared folder; it was "
                           "not followed, choose another file name");
}

bool CheckOutputPath(const std::string& path, const std::vector<std::string>& inputs,
                     std::string* error) {
    if (path.empty()) {
        return Fail(error, "the output file name is empty");
    }
    std::string folder = FolderOf(path);
    struct stat folderStatus {};
    if (stat(folder.c_str(), &folderStatus) != 0 || !S_ISDIR(folderStatus.st_mode)) {
        return Fail(error, "cannot write " + path + ": the folder " + folder + " does not exist");
    }
    if (!IsFollowableOutputLink(path, error)) {
        return false;
    }
    struct stat output {};
    if (stat(path.c_str(), &output) != 0) {
        return true;
    }
    if (S_ISDIR(output.st_mode)) {
        return Fail(error, "cannot write " + path + ": it is a folder; give a file name");
    }
    if (!S_ISREG(output.st_mode)) {
        return Fail(error, "cannot write " + path + ": it is not a regular file");
    }
    for (const std::string& input : inputs) {
        struct stat inputStatus {};
        if (stat(input.c_str(), &inputStatus) == 0 && inputStatus.st_dev == output.st_dev &&
            inputStatus.st_ino == output.st_ino) {
            return Fail(error, "cannot write " + path + ": it is " + input +
                                   ", which this command reads; give another file name");
        }
    }
    return true;
}
