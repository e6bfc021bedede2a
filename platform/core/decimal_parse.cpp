#include "platform/core/decimal_parse.h"

#include <charconv>
#include <system_error>

namespace platform {

DecimalParse ParseDecimalPrefix(std::string_view text, double& value, size_t& used) {
    value = 0.0;
    used = 0;
    size_t start = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        start = 1;
    }
    // from_chars would take "inf", "nan" and friends: only a digit or a point may begin.
    if (start >= text.size())
        return DecimalParse::None;
    const char c = text[start];
    if (!(c >= '0' && c <= '9') && c != '.')
        return DecimalParse::None;
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    double v = 0.0;
    const auto r = std::from_chars(first, last, v, std::chars_format::general);
    if (r.ec == std::errc::invalid_argument)
        return DecimalParse::None;
    used = size_t(r.ptr - text.data());
    if (r.ec == std::errc::result_out_of_range)
        return DecimalParse::OutOfRange;
    value = negative ? -v : v;
    return DecimalParse::Ok;
}

} // namespace platform
