#include "net/address_text.h"

std::string AddressText(const std::vector<std::string>& addresses) {
    std::string text;
    for (const auto& a : addresses) {
        const size_t grown = text.size() + (text.empty() ? 0 : 1) + a.size();
        if (grown + 32 > kAddressTextBytes) break;
        if (!text.empty()) text += '|';
        text += a;
    }
    return text;
}
