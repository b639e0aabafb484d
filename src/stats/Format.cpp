#include "stats/Format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace zavuv {

namespace {

constexpr int kSignificant = 15;

}  // namespace

std::string FormatDecimal(double value, int maxDecimals, bool thousands) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (maxDecimals < 0 || maxDecimals > 18)
    throw std::invalid_argument("小數位數超出範圍: " + std::to_string(maxDecimals));

  // The value as 15 significant decimal digits d0.d1d2... times 10^exponent.
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", kSignificant - 1, std::fabs(value));
  std::string digits;
  const char* p = buf;
  for (; *p && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') digits += *p;
  int exponent = (*p == 'e') ? std::atoi(p + 1) : 0;

  // Keep the digits down to the place 10^-maxDecimals; the first dropped digit
  // decides the rounding (half away from zero, since the sign is set aside).
  int keep = exponent + maxDecimals + 1;
  if (keep < static_cast<int>(digits.size())) {
    bool roundUp = keep >= 0 && digits[keep] >= '5';
    digits.resize(keep < 0 ? 0 : keep);
    if (roundUp) {
      int i = static_cast<int>(digits.size()) - 1;
      while (i >= 0 && digits[i] == '9') digits[i--] = '0';
      if (i >= 0) {
        ++digits[i];
      } else {  // carried out of the first digit (or rounded up from nothing)
        digits.insert(digits.begin(), '1');
        ++exponent;
      }
    }
  }
  // The digit at index i stands for 10^(exponent - i).
  auto digitAt = [&](int place) {
    int i = exponent - place;
    return (i >= 0 && i < static_cast<int>(digits.size())) ? digits[i] : '0';
  };

  std::string integer;
  for (int place = exponent > 0 ? exponent : 0; place >= 0; --place) {
    integer += digitAt(place);
    if (thousands && place > 0 && place % 3 == 0) integer += ',';
  }
  std::string fraction;
  for (int place = -1; place >= -maxDecimals; --place) fraction += digitAt(place);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();

  bool zero = digits.find_first_not_of('0') == std::string::npos;
  std::string out = (value < 0 && !zero) ? "-" : "";
  out += integer;
  if (!fraction.empty()) out += '.' + fraction;
  return out;
}

std::string FormatRatio(double percent) { return FormatDecimal(percent, 4, false) + "%"; }

std::string FormatMoney(double amount) { return FormatDecimal(amount, 2, true); }

std::string FormatFloat(double value, std::string_view pattern) {
  bool thousands = false;
  bool point = false;
  int integerZeros = 0;
  int decimalZeros = 0;
  int decimals = 0;
  for (char c : pattern) {
    if (c == '.') {
      if (point) throw std::invalid_argument("數字格式有兩個小數點: " + std::string(pattern));
      point = true;
    } else if (c == ',') {
      if (!point) thousands = true;
    } else if (c == '0' || c == '#') {
      if (point) {
        ++decimals;
        if (c == '0') decimalZeros = decimals;   // every place up to the last 0 shows
      } else if (c == '0') {
        ++integerZeros;
      }
    } else {
      throw std::invalid_argument("不明的數字格式: " + std::string(pattern));
    }
  }
  std::string text = FormatDecimal(value, decimals, thousands);
  if (!std::isfinite(value)) return text;
  std::size_t dot = text.find('.');
  int shown = dot == std::string::npos ? 0 : static_cast<int>(text.size() - dot - 1);
  if (shown < decimalZeros) {
    if (dot == std::string::npos) text += '.';
    text.append(static_cast<std::size_t>(decimalZeros - shown), '0');
  }
  // Leading zeros beyond the one FormatDecimal writes, or none at all.
  const bool negative = !text.empty() && text[0] == '-';
  const std::size_t start = negative ? 1 : 0;
  dot = text.find('.');
  std::size_t integerEnd = dot == std::string::npos ? text.size() : dot;
  std::string integer = text.substr(start, integerEnd - start);
  std::string rest = text.substr(integerEnd);
  if (integer == "0" && integerZeros == 0) integer.clear();
  std::size_t digits = 0;
  for (char c : integer)
    if (c != ',') ++digits;
  if (static_cast<int>(digits) < integerZeros) integer.insert(0, static_cast<std::size_t>(integerZeros) - digits, '0');
  if (integer.empty() && rest.empty()) return {};
  return (negative ? "-" : "") + integer + rest;
}

}  // namespace zavuv
