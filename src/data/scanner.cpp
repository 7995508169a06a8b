#include "data/scanner.h"

#include <cstdint>

#include "data/data_file.h"

namespace {

constexpr int NOT_READ = -2;           // no character was taken (width used up)
constexpr int UNLIMITED_WIDTH = 1000000;
constexpr long EXPONENT_LIMIT = 100000;  // far beyond any finite extended value

enum class Outcome { STORED, MATCH_FAILURE, INPUT_FAILURE };

// The input with a count of the characters consumed since the call began.
struct Input {
  DataFile* file;
  int consumed = 0;

  int next() {
    int c = df_getc(file);
    if (c >= 0) ++consumed;
    return c;
  }
  // Leaves a character that ended a conversion for the next read.
  void give_back(int c) {
    if (c < 0) return;
    df_ungetc(file, c);
    --consumed;
  }
};

bool is_space(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool is_digit(int c) { return c >= '0' && c <= '9'; }

int digit_value(int c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

// Skips white space; false at the end of the input.
bool skip_space(Input& in) {
  int c;
  do c = in.next();
  while (is_space(c));
  if (c < 0) return false;
  in.give_back(c);
  return true;
}

// Reads an integer in `base` (0: taken from the number's prefix).
Outcome read_integer(Input& in, int width, int base, int32_t* value_out) {
  int c = in.next();
  if (c < 0) return Outcome::INPUT_FAILURE;
  int left = width;
  bool negative = false;
  auto take_next = [&] { return left > 0 ? in.next() : NOT_READ; };
  if (c == '+' || c == '-') {
    negative = c == '-';
    --left;
    c = take_next();
  }
  uint32_t value = 0;
  int digits = 0;
  if (base == 0) {
    if (c == '0') {
      --left;
      digits = 1;
      c = take_next();
      if (c == 'x' || c == 'X') {
        base = 16;
        --left;
        digits = 0;
        c = take_next();
      } else {
        base = 8;
      }
    } else {
      base = 10;
    }
  }
  while (c >= 0 && digit_value(c) < base) {
    value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit_value(c));
    ++digits;
    --left;
    c = take_next();
  }
  in.give_back(c);
  if (digits == 0) return Outcome::MATCH_FAILURE;
  if (negative) value = 0u - value;
  *value_out = static_cast<int32_t>(value);
  return Outcome::STORED;
}

// 10^|exponent| as a product of the powers selected by its binary digits.
long double power_of_ten(long exponent) {
  static const long double powers[] = {1e1L,  1e2L,   1e4L,   1e8L,    1e16L,   1e32L,
                                       1e64L, 1e128L, 1e256L, 1e512L,  1e1024L, 1e2048L};
  long double p = 1.0L;
  while (exponent > 4095) {
    p *= 1e4096L;
    exponent -= 4096;
  }
  for (int bit = 0; bit < 12; ++bit)
    if (exponent & (1L << bit)) p *= powers[bit];
  return p;
}

// Reads a decimal real in extended precision.
Outcome read_real(Input& in, int width, long double* value_out) {
  int c = in.next();
  if (c < 0) return Outcome::INPUT_FAILURE;
  int left = width;
  auto take_next = [&] { return left > 0 ? in.next() : NOT_READ; };
  bool negative = false;
  if (c == '+' || c == '-') {
    negative = c == '-';
    --left;
    c = take_next();
  }
  long double mantissa = 0.0L;
  long exponent = 0;
  bool seen_point = false, seen_any = false;
  while (c >= 0) {
    if (is_digit(c)) {
      mantissa = mantissa * 10.0L + (c - '0');
      if (seen_point && exponent > -EXPONENT_LIMIT) --exponent;
    } else if (c == '.' && !seen_point) {
      seen_point = true;
    } else {
      break;
    }
    seen_any = true;
    --left;
    c = take_next();
  }
  if (seen_any && (c == 'e' || c == 'E')) {
    --left;
    c = take_next();
    bool exponent_negative = false;
    if (c == '+' || c == '-') {
      exponent_negative = c == '-';
      --left;
      c = take_next();
    }
    long written = 0;
    while (c >= 0 && is_digit(c)) {
      if (written < EXPONENT_LIMIT) written = written * 10 + (c - '0');
      --left;
      c = take_next();
    }
    exponent += exponent_negative ? -written : written;
  }
  in.give_back(c);
  if (!seen_any) return Outcome::MATCH_FAILURE;
  if (exponent > EXPONENT_LIMIT) exponent = EXPONENT_LIMIT;
  if (exponent < -EXPONENT_LIMIT) exponent = -EXPONENT_LIMIT;
  long double value = exponent >= 0 ? mantissa * power_of_ten(exponent)
                                    : mantissa * (1.0L / power_of_ten(-exponent));
  *value_out = negative ? -value : value;
  return Outcome::STORED;
}

// Parses "[...]" (format points after the "["); returns the position after
// the "]", or null when the set is not closed.
const char* parse_scan_set(const char* format, bool member[256]) {
  bool invert = false;
  if (*format == '^') {
    invert = true;
    ++format;
  }
  bool in_set[256] = {};
  const unsigned char* f = reinterpret_cast<const unsigned char*>(format);
  if (!*f) return nullptr;
  in_set[*f++] = true;  // the first character is always a member
  while (*f && *f != ']') {
    if (*f == '-' && f[1] && f[1] != ']' && f[-1] <= f[1]) {
      for (int c = f[-1]; c <= f[1]; ++c) in_set[c] = true;
      f += 2;
      continue;
    }
    in_set[*f++] = true;
  }
  if (*f != ']') return nullptr;
  for (int c = 0; c < 256; ++c) member[c] = in_set[c] != invert;
  return reinterpret_cast<const char*>(f + 1);
}

}  // namespace

int df_vscanf(DataFile* file, const char* format, va_list args) {
  Input in{file};
  int stored = 0;
  auto input_failure = [&] { return stored ? stored : -1; };

  while (*format) {
    unsigned char f = static_cast<unsigned char>(*format);
    if (is_space(f)) {
      while (is_space(static_cast<unsigned char>(*format))) ++format;
      int c;
      do c = in.next();
      while (is_space(c));
      in.give_back(c);
      continue;
    }
    if (f != '%' || format[1] == '%') {
      format += f == '%' ? 2 : 1;
      int c = in.next();
      if (c != f) {
        in.give_back(c);
        return -1;
      }
      continue;
    }

    // A conversion: "%" [*] [width] [h|l|ll|L|q] letter.
    ++format;
    bool suppress = false, is_short = false;
    int longness = 0;
    if (*format == '*') {
      suppress = true;
      ++format;
    }
    int width = 0;
    while (is_digit(*format)) {
      if (width < UNLIMITED_WIDTH) width = width * 10 + (*format - '0');
      ++format;
    }
    for (;; ++format) {
      if (*format == 'h') is_short = true;
      else if (*format == 'l') ++longness;
      else if (*format == 'L' || *format == 'q') longness = 2;
      else break;
    }
    char conversion = *format ? *format++ : 0;
    bool width_given = width > 0;
    if (!width_given) width = conversion == 'c' ? 1 : UNLIMITED_WIDTH;

    switch (conversion) {
      case 'd': case 'i': case 'o': case 'x': case 'X': {
        if (!skip_space(in)) return input_failure();
        int base = conversion == 'd' ? 10 : conversion == 'i' ? 0 : conversion == 'o' ? 8 : 16;
        int32_t value = 0;
        Outcome outcome = read_integer(in, width, base, &value);
        if (outcome == Outcome::INPUT_FAILURE) return input_failure();
        if (outcome == Outcome::MATCH_FAILURE) return stored;
        if (!suppress) {
          if (is_short) *va_arg(args, int16_t*) = static_cast<int16_t>(value);
          else *va_arg(args, int32_t*) = value;
          ++stored;
        }
        break;
      }
      case 'f': {
        if (!skip_space(in)) return input_failure();
        long double value = 0;
        Outcome outcome = read_real(in, width, &value);
        if (outcome == Outcome::INPUT_FAILURE) return input_failure();
        if (outcome == Outcome::MATCH_FAILURE) return stored;
        if (!suppress) {
          if (longness >= 2) *va_arg(args, long double*) = value;
          else if (longness == 1) *va_arg(args, double*) = static_cast<double>(value);
          else *va_arg(args, float*) = static_cast<float>(value);
          ++stored;
        }
        break;
      }
      case 's': {
        if (!skip_space(in)) return input_failure();
        char* out = suppress ? nullptr : va_arg(args, char*);
        int c = in.next();
        int taken = 0;
        while (c >= 0 && !is_space(c) && taken < width) {
          if (out) *out++ = static_cast<char>(c);
          ++taken;
          c = taken < width ? in.next() : NOT_READ;
        }
        in.give_back(c);
        if (out) *out = 0;
        if (!suppress) ++stored;
        break;
      }
      case 'c': {
        char* out = suppress ? nullptr : va_arg(args, char*);
        for (int i = 0; i < width; ++i) {
          int c = in.next();
          if (c < 0) return input_failure();
          if (out) *out++ = static_cast<char>(c);
        }
        if (!suppress) ++stored;
        break;
      }
      case '[': {
        bool member[256];
        const char* after = parse_scan_set(format, member);
        if (!after) return stored;
        format = after;
        char* out = suppress ? nullptr : va_arg(args, char*);
        int c = in.next();
        if (c < 0) return input_failure();
        int taken = 0;
        while (c >= 0 && member[c] && taken < width) {
          if (out) *out++ = static_cast<char>(c);
          ++taken;
          c = taken < width ? in.next() : NOT_READ;
        }
        in.give_back(c);
        if (taken == 0) return stored;
        if (out) *out = 0;
        if (!suppress) ++stored;
        break;
      }
      case 'n':
        if (!suppress) {
          if (is_short) *va_arg(args, int16_t*) = static_cast<int16_t>(in.consumed);
          else *va_arg(args, int32_t*) = in.consumed;
        }
        break;
      default:
        return stored;
    }
  }
  return stored;
}

int df_scanf(DataFile* file, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int result = df_vscanf(file, format, args);
  va_end(args);
  return result;
}

void df_skip_comments(DataFile* file) {
  char hash[2];
  while (df_scanf(file, " %1[#]%*[^\n]", hash) == 1) {
  }
}
