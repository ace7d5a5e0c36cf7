#include "view/main_view_page.h"

#include <algorithm>

namespace {

std::vector<MainViewPageType>& Registry() {
    static std::vector<MainViewPageType> registry;
    return registry;
}

}  // namespace

bool RegisterMainViewPage(int order, const char* captionKey, MainViewPageFactory create) {
    Registry().push_back({order, captionKey, std::move(create)});
    return true;
}

std::vector<MainViewPageType> RegisteredMainViewPages() {
    std::vector<MainViewPageType> pages = Registry();
    std::stable_sort(pages.begin(), pages.end(),
                     [](const auto& a, const auto& b) { return a.order < b.order; });
    return pages;
}

void ClearMainViewPages() {
    Registry().clear();
}
