// The contract table of manifest.txt (generated into contract_table.h by
// cmake/manifest.cmake) and a reader of its calls: the small subset of Octave
// they are written in (numbers with NaN, Inf and -0; [a b; c d]; 'text';
// true and false; {..}; struct('f', v, ...) with {{..}} for a cell field;
// int8(..) .. uint64(..); ones(M, N) and zeros(M, N)), made into the stand-in
// host's arrays as Octave would make them.
#ifndef BAYESMEX_TEST_CONTRACTS_H
#define BAYESMEX_TEST_CONTRACTS_H

#include <cctype>
#include <cmath>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "contract_table.h"
#include "standin.h"

namespace contracts {

// A call: the function, its output count and its inputs (the caller
// releases them).
struct call_text {
    std::string name;
    int nout = 0;
    std::vector<mxArray*> in;
};

// The words of a space-separated field of the table.
inline std::vector<std::string> words(const char* text) {
    std::istringstream s(text);
    std::vector<std::string> w;
    for (std::string x; s >> x;) w.push_back(x);
    return w;
}

inline bool has_word(const char* text, const std::string& word) {
    for (const std::string& w : words(text))
        if (w == word) return true;
    return false;
}

class reader {
public:
    explicit reader(const std::string& text) : s_(text) {}

    call_text call() {
        call_text c;
        skip();
        // [a, b] = or a = before the name.
        const size_t eq = s_.find('=');
        const size_t paren = s_.find('(');
        if (eq != std::string::npos && eq < paren) {
            const std::string lhs = s_.substr(0, eq);
            c.nout = 1;
            for (char ch : lhs) c.nout += ch == ',';
            p_ = eq + 1;
        }
        c.name = identifier();
        expect('(');
        if (!peek(')')) {
            do c.in.push_back(value()); while (accept(','));
        }
        expect(')');
        return c;
    }

private:
    std::string s_;
    size_t p_ = 0;

    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error("contract call '" + s_ + "': " + what + " at " + std::to_string(p_));
    }
    void skip() {
        while (p_ < s_.size() && s_[p_] == ' ') ++p_;
    }
    bool peek(char c) {
        skip();
        return p_ < s_.size() && s_[p_] == c;
    }
    bool accept(char c) {
        if (!peek(c)) return false;
        ++p_;
        return true;
    }
    void expect(char c) {
        if (!accept(c)) fail(std::string("expected '") + c + "'");
    }
    std::string identifier() {
        skip();
        const size_t b = p_;
        while (p_ < s_.size() && (std::isalnum((unsigned char)s_[p_]) || s_[p_] == '_')) ++p_;
        if (b == p_) fail("expected a name");
        return s_.substr(b, p_ - b);
    }
    double number() {
        skip();
        bool neg = false;
        if (p_ < s_.size() && (s_[p_] == '-' || s_[p_] == '+')) neg = s_[p_++] == '-';
        double v;
        if (s_.compare(p_, 3, "NaN") == 0) {
            v = NAN;
            p_ += 3;
        } else if (s_.compare(p_, 3, "Inf") == 0) {
            v = INFINITY;
            p_ += 3;
        } else {
            size_t used = 0;
            try {
                v = std::stod(s_.substr(p_), &used);
            } catch (const std::exception&) {
                fail("expected a number");
            }
            p_ += used;
        }
        return neg ? -v : v;
    }
    // [a b; c d], column-major as the host stores it.
    mxArray* matrix() {
        expect('[');
        std::vector<std::vector<double>> rows(1);
        while (!accept(']')) {
            if (accept(';'))
                rows.emplace_back();
            else if (!accept(','))
                rows.back().push_back(number());
        }
        if (rows.size() == 1 && rows[0].empty()) return standin::matrix(0, 0);
        const size_t r = rows.size(), c = rows[0].size();
        std::vector<double> v(r * c);
        for (size_t i = 0; i < r; ++i) {
            if (rows[i].size() != c) fail("rows of different lengths");
            for (size_t j = 0; j < c; ++j) v[i + r * j] = rows[i][j];
        }
        return standin::matrix(r, c, v);
    }
    mxArray* cell() {
        expect('{');
        std::vector<mxArray*> el;
        if (!peek('}')) {
            do el.push_back(value()); while (accept(','));
        }
        expect('}');
        return standin::cell(1, el.size(), el);
    }
    mxArray* text() { return standin::text(quoted()); }
    std::string quoted() {
        expect('\'');
        std::string t;
        for (;;) {
            if (p_ >= s_.size()) fail("unterminated text");
            if (s_[p_] == '\'') {
                if (p_ + 1 < s_.size() && s_[p_ + 1] == '\'') {
                    t += '\'';
                    p_ += 2;
                    continue;
                }
                ++p_;
                return t;
            }
            t += s_[p_++];
        }
    }
    mxArray* value() {
        skip();
        if (peek('[')) return matrix();
        if (peek('{')) return cell();
        if (peek('\'')) return text();
        if (p_ < s_.size() && std::isalpha((unsigned char)s_[p_]) && s_.compare(p_, 3, "NaN") != 0 &&
            s_.compare(p_, 3, "Inf") != 0) {
            const std::string f = identifier();
            if (f == "true" || f == "false") return standin::logical(1, 1, {f == "true"});
            expect('(');
            mxArray* a = f == "struct" ? structure() : function(f);
            expect(')');
            return a;
        }
        return standin::scalar(number());
    }
    // struct('f', v, ...): a 1-by-1 cell {x} gives the field the value x.
    mxArray* structure() {
        std::vector<std::pair<std::string, mxArray*>> fields;
        do {
            const std::string name = quoted();
            expect(',');
            mxArray* v;
            if (accept('{')) {  // {x}: the field's value is x
                v = value();
                expect('}');
            } else {
                v = value();
            }
            fields.emplace_back(name, v);
        } while (accept(','));
        return standin::structure(fields);
    }
    mxArray* function(const std::string& f) {
        static const std::pair<const char*, standin::cls> casts[] = {
            {"int8", standin::cls::int8_},     {"uint8", standin::cls::uint8_},
            {"int16", standin::cls::int16_},   {"uint16", standin::cls::uint16_},
            {"int32", standin::cls::int32_},   {"uint32", standin::cls::uint32_},
            {"int64", standin::cls::int64_},   {"uint64", standin::cls::uint64_}};
        for (const auto& c : casts)
            if (f == c.first) {
                mxArray* a = value();
                mxArray* r = standin::numeric(c.second, standin::dims(a), standin::values(a));
                standin::release(a);
                return r;
            }
        if (f == "ones" || f == "zeros") {
            const double m = number();
            expect(',');
            const double n = number();
            return standin::matrix(size_t(m), size_t(n), std::vector<double>(size_t(m * n), f == "ones"));
        }
        fail("unknown function " + f);
    }
};

inline call_text parse(const char* text) { return reader(text).call(); }

}  // namespace contracts

#endif
