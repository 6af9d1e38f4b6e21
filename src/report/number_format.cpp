#include "report/number_format.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "dbf/number_text.h"
#include "report/errors.h"

namespace report {

namespace {

std::vector<std::string> sections(std::string_view format) {
    std::vector<std::string> out(1);
    char quote = 0;
    for (char c : format) {
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            out.emplace_back();
            continue;
        }
        out.back() += c;
    }
    return out;
}

struct Picture {
    std::string before, after;  // literal text around the number
    int minInt = 0;             // "0"s of the integer part
    int minDec = 0, maxDec = 0;
    bool grouping = false;
    bool exponent = false;
    bool expPlus = false;
    int expDigits = 0;
    bool hasDigits = false;
};

Picture parse(std::string_view s) {
    Picture p;
    bool inNumber = false, afterNumber = false, decimal = false;
    char quote = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        std::string& lit = inNumber || afterNumber ? p.after : p.before;
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                lit += c;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
            if (inNumber) afterNumber = true, inNumber = false;
            continue;
        }
        bool digit = c == '0' || c == '#';
        if (!afterNumber && (digit || ((c == ',' || c == '.') && (inNumber || i + 1 < s.size())))) {
            if (!inNumber && !digit && c == ',') {  // a comma before any digit is text
                lit += c;
                continue;
            }
            inNumber = true;
            if (digit) p.hasDigits = true;
            if (c == '.') {
                decimal = true;
            } else if (c == ',') {
                if (!decimal) p.grouping = true;
            } else if (decimal) {
                ++p.maxDec;
                if (c == '0') p.minDec = p.maxDec;
            } else if (c == '0' || p.minInt > 0) {
                if (c == '0')
                    ++p.minInt;
                else
                    ++p.minInt;
            }
            continue;
        }
        if (inNumber && (c == 'E' || c == 'e') && i + 1 < s.size() &&
            (s[i + 1] == '+' || s[i + 1] == '-')) {
            p.exponent = true;
            p.expPlus = s[i + 1] == '+';
            i += 2;
            while (i < s.size() && s[i] == '0') ++p.expDigits, ++i;
            --i;
            inNumber = false;
            afterNumber = true;
            continue;
        }
        if (inNumber) inNumber = false, afterNumber = true;
        (afterNumber ? p.after : p.before) += c;
    }
    return p;
}

std::string group(const std::string& digits) {
    std::string out;
    int n = static_cast<int>(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += ',';
        out += digits[static_cast<size_t>(i)];
    }
    return out;
}

std::string render(double magnitude, const Picture& p) {
    if (!p.hasDigits) return p.before + p.after;
    int exp10 = 0;
    if (p.exponent && magnitude != 0) {
        int intDigits = std::max(1, p.minInt);
        exp10 = static_cast<int>(std::floor(std::log10(magnitude))) - (intDigits - 1);
        magnitude /= std::pow(10.0, exp10);
        double limit = std::pow(10.0, intDigits);
        if (std::round(magnitude * std::pow(10.0, p.maxDec)) / std::pow(10.0, p.maxDec) >= limit) {
            magnitude /= 10;
            ++exp10;
        }
    }
    // Halves round away from zero, as people write numbers (printf would round 0.25 to 0.2).
    double scale = std::pow(10.0, p.maxDec);
    if (magnitude * scale < 1e15) magnitude = std::round(magnitude * scale) / scale;
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", p.maxDec, magnitude);
    std::string fixed = buf;
    size_t dot = fixed.find('.');
    std::string ip = fixed.substr(0, dot);
    std::string dp = dot == std::string::npos ? "" : fixed.substr(dot + 1);
    while (static_cast<int>(dp.size()) > p.minDec && !dp.empty() && dp.back() == '0') dp.pop_back();
    if (ip == "0" && p.minInt == 0) ip.clear();
    while (static_cast<int>(ip.size()) < p.minInt) ip.insert(ip.begin(), '0');
    if (p.grouping) ip = group(ip);
    std::string out = p.before + ip;
    if (!dp.empty()) out += "." + dp;
    if (p.exponent) {
        out += 'E';
        if (exp10 < 0)
            out += '-';
        else if (p.expPlus)
            out += '+';
        std::string e = std::to_string(std::abs(exp10));
        while (static_cast<int>(e.size()) < p.expDigits) e.insert(e.begin(), '0');
        out += e;
    }
    return out + p.after;
}

}  // namespace

std::string formatNumber(double value, std::string_view format) {
    if (!std::isfinite(value)) throw ReportError("The value cannot be formatted.");
    if (format.empty()) return dbf::formatGeneral(value);
    auto parts = sections(format);
    if (parts.size() > 3)
        throw ReportError("The format '" + std::string(format) + "' has more than three sections.");
    const std::string* use = &parts[0];
    bool minus = false;
    if (value < 0) {
        if (parts.size() >= 2 && !parts[1].empty())
            use = &parts[1];
        else
            minus = true;
    } else if (value == 0 && parts.size() == 3 && !parts[2].empty()) {
        use = &parts[2];
    }
    Picture p = parse(*use);
    std::string out = render(std::fabs(value), p);
    if (minus) {
        bool nonZero = out.find_first_of("123456789") != std::string::npos;
        if (nonZero) out.insert(0, "-");
    }
    return out;
}

}  // namespace report
