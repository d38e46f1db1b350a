#pragma once
// Steps shared by the Internet Explorer items and the AOL Explorer items,
// which use Internet Explorer's own stores.
#include <string>
#include <string_view>

namespace cv {

class RunContext;

namespace ie {

// A "User Shell Folders" location ("Cache", "Cookies", "Favorites", "History").
std::string ShellFolder(RunContext& run, std::string_view valueName);
// Starts Internet Explorer's clearing routine for a category, minimised, not
// waited for. `argument` is passed as written (the cache category keeps its
// trailing blank).
void ClearMyTracks(RunContext& run, std::string_view argument);
// Deletes the typed-URL key (counted 3), then writes the kept URLs back as
// url1..urlN in keep-list order. In preview nothing is written.
void RestoreKeptTypedUrls(RunContext& run);
// Deletes every file directly in the cookie folder whose full path the
// cookie keep list does not name exactly, adding the sizes.
void DeleteCookiesNotKept(RunContext& run);
// All files under the cache folder; on Internet Explorer 7 and later also
// the clearing routine's cache category.
void ClearCache(RunContext& run);
// Empties the URL history store, if the system has one.
void ClearHistoryStore(RunContext& run);

}  // namespace ie
}  // namespace cv
