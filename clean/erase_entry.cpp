#include "clean/erase_entry.h"

namespace cv {

std::string_view EntryKindName(EntryKind kind) {
  switch (kind) {
    case EntryKind::File:
      return "file";
    case EntryKind::Folder:
      return "folder";
    case EntryKind::RegKey:
      return "regkey";
    case EntryKind::RegTree:
      return "regtree";
    case EntryKind::RegValue:
      return "regvalue";
    case EntryKind::IniSection:
      return "inisection";
    case EntryKind::Command:
      return "command";
    case EntryKind::Rows:
      return "rows";
  }
  return "file";
}

}  // namespace cv
