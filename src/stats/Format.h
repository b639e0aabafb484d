// Number texts as the program shows them: amounts as "###,###,##0.##" and ratios as
// "#0.####%".
//
// Both round half away from zero at the last decimal shown, and they round the
// decimal value of the double as printed to 15 significant digits rather than its
// exact binary value, so binary noise does not show: 0.285 gives "0.29" and 1.005
// gives "1.01", although the doubles nearest those values lie just below them.
// Trailing zero decimals are dropped together with the point; a value that rounds
// to zero is shown without a minus sign. Infinities and NaN show as "INF", "-INF"
// and "NAN".
#pragma once

#include <string>
#include <string_view>

namespace zavuv {

// "#0.####%": a value already multiplied by 100, at least one integer digit, at most
// four decimals, then "%" (55.555555 gives "55.5556%", 60 gives "60%").
std::string FormatRatio(double percent);

// "###,###,##0.##": thousands separated by commas, at most two decimals
// (1234567.5 gives "1,234,567.5", -300 gives "-300", 0 gives "0").
std::string FormatMoney(double amount);

// The common form: at most maxDecimals decimals, with or without thousands commas.
std::string FormatDecimal(double value, int maxDecimals, bool thousands);

// A number laid out by a display pattern of digit places: "0" a digit that is always
// shown, "#" a digit shown only when it counts, "," anywhere before the point
// thousands separators, "." the decimal point. "#.##" shows 0 as an empty text and
// 0.5 as ".5"; "0.##" shows 0 as "0"; "0.00" keeps two decimals. Other characters
// are refused (std::invalid_argument).
std::string FormatFloat(double value, std::string_view pattern);

}  // namespace zavuv
