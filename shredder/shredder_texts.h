#pragma once
// Texts of the file shredder's window, shared with its GUI test.

namespace cv::texts {

inline constexpr char kShredderCaption[] = "Clearvane File Shredder";
inline constexpr char kShredderIntro[] =
    "Files shredded here are overwritten with random bytes, then deleted: no program can bring them back, "
    "and they do not go to the Recycle Bin. Add files and folders, or drop them here from Explorer.";
inline constexpr char kWipeNote[] =
    "Fills the free space of the drive with random bytes, then deletes the fill, so that files deleted earlier "
    "cannot be read back. It cannot reach what an SSD or a flash drive keeps aside for wear levelling, earlier "
    "versions kept by shadow copies or a copy-on-write file system, data a compressed volume packs with other "
    "files, or the 100 MB left free on the Windows drive.";
inline constexpr char kShredQuestionCaption[] = "Shred";
inline constexpr char kNotAddedCaption[] = "Not added";
inline constexpr char kWipeQuestionCaption[] = "Wipe free space";

}  // namespace cv::texts
