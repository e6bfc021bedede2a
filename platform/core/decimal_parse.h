// A decimal number at the start of a text, read the same in every locale: an optional sign,
// digits with an optional point, an optional exponent. No hexadecimal, no "inf" or "nan".
#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

enum class DecimalParse {
    None,      // the text does not start with a number
    Ok,        // value set; used says how many characters it took
    OutOfRange // a number beyond the range of a double (or too small to hold)
};

DecimalParse ParseDecimalPrefix(std::string_view text, double& value, size_t& used);

} // namespace platform
