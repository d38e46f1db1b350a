#pragma once
// The platform a clean sees when it may erase only what an analysis listed.
// Reads and writes pass through; deletes (by path or inside an open folder),
// attribute changes, restart marks, database rows, started commands and the
// shell's clearing operations happen only for what the list allows. Folder
// listings leave out the files the list does not allow (outside the program
// folder, whose own files the run reads), so the run neither touches nor
// counts a file that appeared after the analysis. Folders are opened, and
// entries deleted, only where no link lies on the way.
#include <memory>
#include <string>
#include <unordered_map>

#include "clean/allow_list.h"
#include "platform/platform.h"

namespace cv {

class AllowListPlatform {
 public:
  AllowListPlatform(Platform& inner, const AllowList& allowed);
  AllowListPlatform(const AllowListPlatform&) = delete;
  AllowListPlatform& operator=(const AllowListPlatform&) = delete;

  Platform& View() { return view_; }

 private:
  class Files : public FileSystem {
   public:
    Files(FileSystem& inner, const AllowList& allowed, std::string programFolder);
    std::optional<FileEntry> Stat(std::string_view path) override { return inner_.Stat(path); }
    std::optional<FileIdentity> Identify(std::string_view path, bool followFinalLink) override {
      return inner_.Identify(path, followFinalLink);
    }
    std::unique_ptr<Folder> OpenFolder(std::string_view path) override;
    // Empty (no name a database library could open) for a file whose rows
    // the analysis did not list.
    std::string NativePath(std::string_view path) override;
    bool ListFolder(std::string_view folder, const std::function<void(const FileEntry&)>& visit) override;
    using FileSystem::ReadFile;
    Status ReadFile(std::string_view path, std::string& out, std::uint64_t maxBytes) override {
      return inner_.ReadFile(path, out, maxBytes);
    }
    Status WriteFileAtomic(std::string_view path, std::string_view data) override {
      return inner_.WriteFileAtomic(path, data);
    }
    Status DeleteFile(std::string_view path, bool force) override;
    Status RemoveFolder(std::string_view path, bool force) override;
    Status CreateFolder(std::string_view path) override { return inner_.CreateFolder(path); }
    Status SetAttributes(std::string_view path, std::uint32_t attributes) override;
    Status DeleteAtReboot(std::string_view path) override;

   private:
    // An open folder seen through the list, for the walks.
    class AllowedFolder;
    // The folder at `path` opened folder by folder from its drive root, no
    // link followed on the way: a listed path is reached only where the
    // analysis saw it, never through a folder swapped for a link since.
    std::unique_ptr<Folder> OpenWithoutLinks(std::string_view path);
    // The parent folder of `path`, opened so, and the last component's name.
    std::unique_ptr<Folder> OpenParentWithoutLinks(std::string_view path, std::string& name);
    // The same rules for paths and for entries of an open folder.
    bool Shows(const FileEntry& entry, bool ownFolder) const;
    bool MayDelete(std::string_view path) const;
    bool MayChangeAttributes(std::string_view path) const;
    bool InProgramFolder(std::string_view path) const;
    FileSystem& inner_;
    const AllowList& allowed_;
    std::string programFolder_;  // normalised, with a final "\"
  };

  class Keys : public Registry {
   public:
    Keys(Registry& inner, const AllowList& allowed) : inner_(inner), allowed_(allowed) {}
    Status OpenKey(RegKey parent, std::string_view subKey, std::uint32_t access, RegKey& out) override;
    Status CreateKey(RegKey parent, std::string_view subKey, RegKey& out) override;
    Status CloseKey(RegKey key) override;
    Status QueryValue(RegKey key, std::string_view name, RegValue& out) override {
      return inner_.QueryValue(key, name, out);
    }
    Status SetValue(RegKey key, std::string_view name, std::uint32_t type, std::string_view data) override {
      return inner_.SetValue(key, name, type, data);
    }
    Status EnumValue(RegKey key, std::uint32_t index, std::string& name, RegValue& value) override {
      return inner_.EnumValue(key, index, name, value);
    }
    Status EnumKey(RegKey key, std::uint32_t index, std::string& name) override {
      return inner_.EnumKey(key, index, name);
    }
    Status DeleteKey(RegKey parent, std::string_view subKey) override;
    Status DeleteValue(RegKey key, std::string_view name) override;
    Status DeleteTree(RegKey parent, std::string_view subKey) override;

   private:
    // The full key path of an open key joined with a sub-key path.
    std::string PathOf(RegKey parent, std::string_view subKey) const;
    Registry& inner_;
    const AllowList& allowed_;
    std::unordered_map<RegKey, std::string> openKeys_;
  };

  class Commands : public Shell {
   public:
    Commands(Shell& inner, const AllowList& allowed) : inner_(inner), allowed_(allowed) {}
    std::optional<std::string> GetEnvironmentVariable(std::string_view name) override {
      return inner_.GetEnvironmentVariable(name);
    }
    std::string GetWindowsDirectory() override { return inner_.GetWindowsDirectory(); }
    OsVersion GetVersion() override { return inner_.GetVersion(); }
    std::string ProgramFolder() override { return inner_.ProgramFolder(); }
    bool IsElevated() override { return inner_.IsElevated(); }
    ServiceState QueryServiceState(std::string_view name) override { return inner_.QueryServiceState(name); }
    ProcessId StartProgram(std::string_view commandLine, ShowMode show) override;
    bool IsProcessRunning(ProcessId process) override { return inner_.IsProcessRunning(process); }
    bool OpenDocument(std::string_view target) override { return inner_.OpenDocument(target); }
    bool ClearRecentDocuments() override;
    bool EmptyRecycleBin() override;
    bool ClearClipboard() override;

   private:
    Shell& inner_;
    const AllowList& allowed_;
  };

  Files files_;
  Keys keys_;
  Commands commands_;
  Platform view_;
};

}  // namespace cv
