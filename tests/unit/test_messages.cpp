// The message table (host/messages.h) against the manifest, the sources, the
// help texts and the README: every message a source raises is declared by
// its module or library (or given by its module's argument form), and every
// message a function can raise is documented, its reason in the function's
// help text and its words there or, for the messages every function shares,
// in `help bayesmex`; the README's error table holds every message.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "args.h"
#include "contracts.h"

namespace {

std::string top() {
    const std::string here = __FILE__;
    return here.substr(0, here.rfind('/')) + "/../../";
}

std::string read(const std::string& path) {
    std::ifstream f(top() + path);
    EXPECT_TRUE(f.good()) << path;
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

std::string key_of(const message_row& r) { return *r.variant ? std::string(r.reason) + "." + r.variant : r.reason; }

const message_row* row_of(const std::string& key) {
    for (const message_row& r : messages)
        if (key_of(r) == key) return &r;
    return nullptr;
}

// Raised wherever the host or a fault of ours ends a call: documented once,
// in `help bayesmex` and the README.
bool universal(const message_row& r) {
    const std::string reason = r.reason;
    return reason == "internal" || reason == "outOfMemory" || reason == "randomSelfCheck";
}

// The messages of the argument rules and of the random door, which many
// functions share: their texts are in `help bayesmex`, their reasons in each
// help text that can raise them.
bool shared(const message_row& r) {
    static const std::set<std::string> keys = {
        "tooManyOutputs", "wrongOutputCount", "wrongInputCount", "inputClass",       "notReal",
        "tooManyDims",    "inputEmpty",       "sizeRange",       "sizeInconsistent", "hostValues.class",
        "hostValues.count", "hostValues.rejections", "randomState"};
    return keys.count(key_of(r)) > 0;
}

// The messages a form gives: its counts, its inputs' classes and shapes.
std::set<std::string> form_keys(const char* text) {
    const args_form f = args_parse(text);
    std::set<std::string> k = {"wrongInputCount"};
    if (!f.unchecked) k.insert(f.exact ? "wrongOutputCount" : "tooManyOutputs");
    for (int i = 0; i < f.inputs; ++i) {
        const args_kind kind = f.kind[i];
        if (kind == args_kind::any) continue;
        k.insert({"inputClass", "notReal"});
        if (kind == args_kind::array) continue;
        k.insert({"tooManyDims", "inputEmpty"});
        if (kind == args_kind::size || kind == args_kind::count || kind == args_kind::weights) k.insert("sizeRange");
        if (kind == args_kind::param) k.insert("sizeInconsistent");
        if (kind == args_kind::count || kind == args_kind::vector) k.insert(key_of(message_of(f.shape[i])));
    }
    return k;
}

const contracts::library_row* library(const std::string& name) {
    for (const contracts::library_row& l : contracts::libraries)
        if (name == l.name) return &l;
    return nullptr;
}

// Every message key a module can raise: its form's, its own and those of
// every library it links, directly or through another.
std::set<std::string> module_keys(const contracts::table_row& m) {
    std::set<std::string> keys = form_keys(m.args);
    for (const std::string& k : contracts::words(m.reasons)) keys.insert(k);
    std::vector<std::string> pending = contracts::words(m.libs);
    std::set<std::string> seen;
    while (!pending.empty()) {
        const std::string name = pending.back();
        pending.pop_back();
        if (!seen.insert(name).second) continue;
        const contracts::library_row* l = library(name);
        if (!l) continue;
        for (const std::string& k : contracts::words(l->reasons)) keys.insert(k);
        for (const std::string& x : contracts::words(l->links)) pending.push_back(x);
    }
    return keys;
}

// A text as a pattern: its formats (%s, %.40s, %zu, ...) match any words.
std::regex pattern(const std::string& text) {
    static const std::regex format(R"(%[-.0-9]*(zu|s|d|f))"), specials(R"([.^$|()\[\]{}*+?\\])");
    std::string p;
    std::sregex_token_iterator i(text.begin(), text.end(), format, -1), e;
    for (bool first = true; i != e; ++i, first = false)
        p += (first ? "" : ".*?") + std::regex_replace(std::string(*i), specials, "\\$&");
    if (std::regex_search(text, std::regex(R"(%[-.0-9]*(zu|s|d|f)$)"))) p += ".*?";
    return std::regex(p);
}

bool holds(const std::string& prose, const message_row& r) { return std::regex_search(prose, pattern(r.text)); }

// The words of a help section or table, on one line: comment marks and
// Markdown escapes gone, runs of spaces one space.
std::string flat(std::string text) {
    text = std::regex_replace(text, std::regex(R"((^|\n)%)"), " ");
    text = std::regex_replace(text, std::regex(R"(\\\*)"), "*");
    return std::regex_replace(text, std::regex(R"(\s+)"), " ");
}

// A help text's section: from its heading to the next heading ("%   Word").
std::string section(const std::string& help, const std::string& heading) {
    const size_t b = help.find("\n%   " + heading);
    if (b == std::string::npos) return "";
    std::smatch m;
    const std::string rest = help.substr(b + 1);
    if (std::regex_search(rest.cbegin() + 1, rest.cend(), m, std::regex(R"(\n%   [A-Z])")))
        return rest.substr(0, size_t(m.position(0)) + 1);
    return rest;
}

bool names(const std::string& prose, const std::string& reason) {
    return std::regex_search(prose, std::regex("(^|[^A-Za-z])" + reason + "([^A-Za-z]|$)"));
}

TEST(messages, EveryKeyOfTheManifestNamesAMessage) {
    for (const contracts::table_row& m : contracts::table) {
        if (!m.module) continue;
        EXPECT_NO_THROW(form_keys(m.args)) << m.name << ": form " << m.args;
        for (const std::string& k : contracts::words(m.reasons)) EXPECT_TRUE(row_of(k)) << m.name << ": " << k;
    }
    for (const contracts::library_row& l : contracts::libraries)
        for (const std::string& k : contracts::words(l.reasons)) EXPECT_TRUE(row_of(k)) << l.name << ": " << k;
}

// A message a source raises (msg::NAME) is its library's or module's: in its
// reasons lines, or given by the argument driver (hostargs) from the form.
TEST(messages, EveryMessageASourceRaisesIsDeclared) {
    // msg::identifier -> key, from the table's own text.
    std::map<std::string, std::string> key;
    const std::string table = read("host/messages.h");
    const std::regex row(R"re(\{msg::(\w+), "(\w+)", "(\w*)")re");
    for (std::sregex_iterator i(table.begin(), table.end(), row), e; i != e; ++i)
        key[(*i)[1]] = (*i)[3].length() ? std::string((*i)[2]) + "." + std::string((*i)[3]) : std::string((*i)[2]);
    ASSERT_EQ(key.size(), size_t(msg::count_));
    // The keys raised in a source and in the headers beside it that it includes.
    auto raised = [&](const std::string& source) {
        std::set<std::string> out;
        std::string text = read(source);
        const std::string dir = source.substr(0, source.rfind('/') + 1);
        // The headers go after the loop: appending to the text being searched
        // would free the storage the iterator walks.
        const std::regex inc(R"re(#include "(\w+\.h)")re");
        std::string headers;
        for (std::sregex_iterator i(text.begin(), text.end(), inc), e; i != e; ++i) {
            std::ifstream h(top() + dir + std::string((*i)[1]));
            if (h.good()) headers += std::string(std::istreambuf_iterator<char>(h), {});
        }
        text += headers;
        const std::regex use(R"(msg::(\w+))");
        for (std::sregex_iterator i(text.begin(), text.end(), use), e; i != e; ++i)
            if (key.count((*i)[1])) out.insert(key[(*i)[1]]);
        return out;
    };
    auto check = [&](const std::string& owner, const std::string& source, const std::set<std::string>& declared) {
        for (const std::string& k : raised(source)) {
            if (!universal(*row_of(k))) {
                EXPECT_TRUE(declared.count(k)) << source << " raises " << k << ", which " << owner
                                               << " does not declare (manifest reasons)";
            }
        }
    };
    for (const contracts::library_row& l : contracts::libraries) {
        if (std::string(l.name) == "hostargs") continue;  // the driver's messages are the forms'
        const std::vector<std::string> r = contracts::words(l.reasons);
        const std::set<std::string> declared(r.begin(), r.end());
        for (const std::string& s : contracts::words(l.sources)) {
            check(l.name, s, declared);
            // The host's own seam: host/X.cpp is host/octave/X.cpp on Octave.
            if (s.rfind("host/", 0) == 0 && s.find('/', 5) == std::string::npos) {
                std::ifstream o(top() + "host/octave/" + s.substr(5));
                if (o.good()) check(l.name, "host/octave/" + s.substr(5), declared);
            }
        }
    }
    for (const contracts::table_row& m : contracts::table) {
        if (!m.module) continue;
        std::set<std::string> declared = form_keys(m.args);
        for (const std::string& k : contracts::words(m.reasons)) declared.insert(k);
        check(m.name, std::string("modules/") + m.name + ".cpp", declared);
    }
}

// Each help text's Errors section names every reason its function can raise
// and holds the words of each message that is its own (the shared ones are
// in `help bayesmex`); every message it quotes is one the function raises.
TEST(messages, EveryHelpTextDocumentsItsFunctionsMessages) {
    for (const contracts::table_row& m : contracts::table) {
        if (!m.module) continue;
        const std::string errors = flat(section(read(std::string("help/") + m.name + ".m"), "Errors"));
        ASSERT_FALSE(errors.empty()) << m.name << ": no Errors section";
        const std::set<std::string> keys = module_keys(m);
        for (const std::string& k : keys) {
            const message_row& r = *row_of(k);
            if (universal(r)) continue;
            EXPECT_TRUE(names(errors, r.reason)) << m.name << ": the help does not name " << r.reason;
            if (!shared(r)) {
                EXPECT_TRUE(holds(errors, r)) << m.name << ": the help does not hold \"" << r.text << "\"";
            }
        }
        const std::regex quoted("\"([^\"]*)\"");
        for (std::sregex_iterator i(errors.begin(), errors.end(), quoted), e; i != e; ++i) {
            const std::string q = (*i)[1];
            bool known = false;
            for (const std::string& k : keys) known |= std::regex_match(q, pattern(row_of(k)->text));
            EXPECT_TRUE(known) << m.name << ": the help quotes \"" << q << "\", which it never raises";
        }
    }
}

// `help bayesmex` gives the words of every shared and universal message,
// under its reason.
TEST(messages, TheOverviewHoldsEverySharedMessage) {
    const std::string errors = flat(section(read("inst/bayesmex.m"), "Errors"));
    ASSERT_FALSE(errors.empty()) << "inst/bayesmex.m: no Errors section";
    for (const message_row& r : messages)
        if (shared(r) || universal(r)) {
            EXPECT_TRUE(names(errors, r.reason)) << r.reason;
            EXPECT_TRUE(holds(errors, r)) << r.text;
        }
}

// The README's error table: every reason, and the words of every message.
TEST(messages, TheReadmeTableHoldsEveryMessage) {
    const std::string readme = read("README.md");
    const size_t b = readme.find("## Errors users can meet");
    ASSERT_NE(b, std::string::npos);
    const std::string table = flat(readme.substr(b, readme.find("\n## ", b + 1) - b));
    for (const message_row& r : messages) {
        EXPECT_NE(table.find(std::string("`") + r.reason + "`"), std::string::npos) << "README: no row for " << r.reason;
        EXPECT_TRUE(holds(table, r)) << "README: no text \"" << r.text << "\"";
    }
}

}  // namespace
