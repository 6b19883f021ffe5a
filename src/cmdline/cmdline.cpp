#include "cmdline/cmdline.h"

#include <getopt.h>

namespace cmdline {

namespace {

// getopt_long reports a long option as this plus its index in the table.
constexpr int LONG_BASE = 0x100;

std::string NameOf(const std::string& token) {
    return token.substr(0, token.find('='));
}

}  // namespace

bool Parse(const std::vector<std::string>& args, const std::vector<OptionRule>& rules,
           std::vector<Given>* out, std::string* error) {
    std::vector<std::string> words = {"program"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());

    std::vector<option> longs;
    std::string shorts = "+:";  // stop at the first stray argument; ':' for a missing value
    for (size_t i = 0; i < rules.size(); ++i) {
        longs.push_back({rules[i].name, rules[i].takesValue ? required_argument : no_argument,
                         nullptr, LONG_BASE + static_cast<int>(i)});
        if (rules[i].shortName != 0) {
            shorts += rules[i].shortName;
            if (rules[i].takesValue) shorts += ':';
        }
    }
    longs.push_back({nullptr, 0, nullptr, 0});

    auto ruleOf = [&](int code) -> int {
        if (code >= LONG_BASE) return code - LONG_BASE;
        for (size_t i = 0; i < rules.size(); ++i) {
            if (code != 0 && rules[i].shortName == code) return static_cast<int>(i);
        }
        return -1;
    };

    std::vector<Given> given;
    std::vector<int> seen(rules.size(), 0);
    opterr = 0;
    optind = 0;  // glibc: start afresh, whatever an earlier parse left
    while (true) {
        const int at = optind == 0 ? 1 : optind;  // the word getopt_long reads next
        const int code = getopt_long(argc, argv.data(), shorts.c_str(), longs.data(), nullptr);
        if (code == -1) break;
        const std::string token = at < argc ? words[at] : std::string();
        const int reported = code == '?' || code == ':' ? optopt : code;
        const int index = ruleOf(reported);
        // getopt_long takes any unambiguous abbreviation; only the whole name counts here.
        const bool wholeName =
            index >= 0 &&
            (reported < LONG_BASE || NameOf(token) == std::string("--") + rules[index].name);
        if (!wholeName) {
            *error = "unknown option '" +
                     (reported > 0 && reported < LONG_BASE ? std::string("-") + char(reported)
                                                           : NameOf(token)) +
                     "' (try --help)";
            return false;
        }
        const OptionRule& rule = rules[index];
        const std::string longName = std::string("--") + rule.name;
        if (code == '?') {
            *error = longName + " takes no value";
            return false;
        }
        if (code == ':') {
            *error = longName + " needs a value";
            return false;
        }
        if (seen[index]++ > 0 && !rule.repeatable) {
            *error = longName + " given twice";
            return false;
        }
        given.push_back({rule.name, rule.takesValue && optarg != nullptr ? optarg : ""});
    }
    if (optind < argc) {
        *error = "unexpected argument '" + words[optind] + "' (try --help)";
        return false;
    }
    *out = std::move(given);
    return true;
}

}  // namespace cmdline
