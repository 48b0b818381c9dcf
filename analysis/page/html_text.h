#pragma once

#include <string>
#include <string_view>

// Text as HTML shows it, for element content and quoted attribute values alike: the five
// characters that could end a text or open markup (& < > " ') become character references.
std::string escapedHtml(std::string_view text);
