#pragma once
// The actions of the run's items, one source file per item group. Each group
// binds its actions to the item numbers of the run's item table
// (clean/run_items.h), which alone holds sections, keys, names and progress.
#include <span>
#include <vector>

namespace cv {

class RunContext;
using ItemActionFn = void (*)(RunContext&);

struct ItemBinding {
  int number;  // the item's number in the run order, 1..140
  ItemActionFn action;
};

std::span<const ItemBinding> InternetExplorerItems();  // 1-11, clean/items_ie.cpp
std::span<const ItemBinding> MozillaOperaItems();      // 12-34 and 43-46, clean/items_mozilla.cpp
std::span<const ItemBinding> OtherBrowserItems();      // 35-42 and 47-65, clean/items_browsers.cpp
std::span<const ItemBinding> WindowsItems();           // 66-92, clean/items_windows.cpp
std::span<const ItemBinding> MessengerItems();         // 93-109, clean/items_messenger.cpp
std::span<const ItemBinding> OfficeItems();            // 110-122, clean/items_office.cpp
std::span<const ItemBinding> MailItems();              // 123-139, clean/items_mail.cpp
std::span<const ItemBinding> CustomItems();            // 140, clean/items_custom.cpp
// Every group's bindings, as the built-in items bind them (clean/item_list.cpp).
std::vector<ItemBinding> AllItemBindings();

// Runs before the Office items whatever is selected (clean/items_office.cpp).
void DetectOfficeVersion(RunContext& run);

}  // namespace cv
