// The text NetLocalAddresses gives: addresses joined by '|' while the text plus 32 bytes stays
// within 4,096.
#pragma once

#include <string>
#include <vector>

constexpr size_t kAddressTextBytes = 4096;

std::string AddressText(const std::vector<std::string>& addresses);
