#include "IniFuzz.h"

#include <cctype>

namespace inifuzz {

const char* kindName(Kind kind) {
    static const char* const names[kindCount] = {"well-formed", "truncated", "binary",
                                                 "huge numbers", "overlong", "odd case",
                                                 "mutated", "encoding"};
    return names[kind];
}

namespace {

struct Key {
    std::string name;
    std::string value;
};

struct Section {
    std::string name;
    std::vector<Key> keys;
};

const std::vector<std::string> flagValues = {"0", "1", "2", "-1", "", "yes", " 1", "01", "1x"};

const std::vector<std::string> numberTexts = {
    "0", "1", "-1", "7", "2147483647", "2147483648", "-2147483648", "-2147483649",
    "4294967295", "4294967296", "4294967297", "99999999999999999999", "+5", "0x10",
    "007", "1e3", "  12  ", "-0", "--3", "3-", "\x82\x52", "12abc", "abc", "", "-",
    "18446744073709551615", "9223372036854775807", "2147483646"};

const std::vector<std::string> timeTexts = {
    "12,5", "-1,5", "x,5", "1,2,3", ",", "12,", ",5", "99999999999,1", " 3 , 4 ",
    "3;4", "3,4,", "4294967296,0", "2147483647,59", "-2147483648,-2147483648",
    "+1,2", "1 2,3", "\x82\x50,\x82\x51", "0,0", "", "0x1,0x2", "7,-", "-,7"};

std::string digits(unsigned value) { return std::to_string(value); }

std::string longText(Random& random, size_t count) {
    static const char pattern[] = "abcdefghijklmnopqrstuvwxyz0123456789\\.";
    std::string text(count, 'a');
    for (char& c : text) c = pattern[random.below(sizeof pattern - 1)];
    return text;
}

// A plausible file: the three sections with a few surprises of content.
std::vector<Section> plausible(Random& random, const Vocabulary& vocabulary) {
    std::vector<Section> sections;

    Section options{"Setting", {}};
    for (const char* name : {"Random", "Resume", "Sound"}) {
        if (random.chance(85)) options.keys.push_back({name, random.pick(flagValues)});
    }
    sections.push_back(options);

    Section list{"PlayList", {}};
    unsigned entries = random.below(8);
    std::string count = random.chance(80) ? digits(entries + random.below(3)) : random.pick(numberTexts);
    if (random.chance(90)) list.keys.push_back({"Count", count});
    for (unsigned i = 0; i < entries; ++i) {
        if (random.chance(10)) continue;  // a gap in the numbering
        std::string key = "Path" + digits(random.chance(90) ? i : i + 5);
        if (random.chance(5)) key = "Path0" + digits(i);  // leading zero: not the same key
        list.keys.push_back({key, random.chance(90) ? random.pick(vocabulary.entries) : ""});
    }
    sections.push_back(list);

    if (random.chance(70)) {
        Section point{"Resume", {}};
        if (random.chance(85)) point.keys.push_back({"Name", random.pick(vocabulary.entries)});
        if (random.chance(85)) point.keys.push_back({"Time", random.pick(timeTexts)});
        sections.push_back(point);
    }

    // Now and then something else of the kind hand-edited files hold.
    if (random.chance(15)) sections.push_back({"Other", {{"Path0", "C:\\x.avi"}, {"Count", "1"}}});
    if (random.chance(10)) sections.push_back({"PlayList", {{"Path0", "C:\\second.avi"}}});
    if (random.chance(10)) sections.push_back({"Setting", {{"Random", "1"}}});
    for (size_t i = 0; i < sections.size(); ++i) {
        if (random.chance(8) && !sections[i].keys.empty()) {
            sections[i].keys.push_back(sections[i].keys[random.below(sections[i].keys.size())]);
        }
    }

    // Walk the sections in a random order now and then: order carries no meaning.
    if (random.chance(30)) {
        for (size_t i = sections.size(); i > 1; --i) std::swap(sections[i - 1], sections[random.below(i)]);
    }
    return sections;
}

std::string render(const std::vector<Section>& sections, Random& random, const char* newline) {
    std::string text;
    for (const Section& section : sections) {
        if (random.chance(5)) text += "; a comment\r\n";
        text += "[" + section.name + "]" + newline;
        for (const Key& key : section.keys) text += key.name + "=" + key.value + newline;
        if (random.chance(20)) text += newline;
    }
    return text;
}

std::string scrambleCase(const std::string& text, Random& random) {
    std::string result = text;
    for (char& c : result) {
        if (!std::isalpha(static_cast<unsigned char>(c))) continue;
        c = random.chance(50) ? static_cast<char>(std::toupper(static_cast<unsigned char>(c)))
                              : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return result;
}

std::string makeHugeNumbers(Random& random, const Vocabulary& vocabulary) {
    std::vector<Section> sections = plausible(random, vocabulary);
    for (Section& section : sections) {
        for (Key& key : section.keys) {
            if (key.name == "Time") key.value = random.pick(timeTexts);
            else if (key.name.compare(0, 4, "Path") != 0 && key.name != "Name")
                key.value = random.pick(numberTexts);
        }
    }
    // A huge count beside real keys and keys with huge indices; only the
    // first section of a name counts.
    static const std::vector<std::string> hugeCounts = {"2147483647", "2147483648", "99999",
                                                        "4294967295", "1000000"};
    for (Section& section : sections) {
        if (section.name != "PlayList") continue;
        section.keys.push_back({"Count", random.pick(hugeCounts)});
        section.keys.push_back({"Path" + random.pick(numberTexts), random.pick(vocabulary.entries)});
        section.keys.push_back({"Path2147483646", random.pick(vocabulary.entries)});
        section.keys.push_back({"Path99998", random.pick(vocabulary.entries)});
        if (random.chance(50)) std::swap(section.keys.front(), section.keys.back());
        break;
    }
    return render(sections, random, "\r\n");
}

std::string makeOverlong(Random& random, const Vocabulary& vocabulary) {
    static const size_t lengths[] = {258, 259, 260, 261, 300, 1024, 4095, 4096, 32767, 70000};
    std::vector<Section> sections = plausible(random, vocabulary);
    unsigned changes = 1 + random.below(3);
    for (unsigned n = 0; n < changes; ++n) {
        size_t length = lengths[random.below(sizeof lengths / sizeof lengths[0])];
        switch (random.below(5)) {
        case 0:  // an entry far longer than a path
            sections[1].keys.push_back({"Path" + digits(random.below(4)), "C:\\" + longText(random, length)});
            break;
        case 1:  // a resume name and time too long to keep whole
            sections.push_back({"Resume", {{"Name", "C:\\" + longText(random, length)},
                                           {"Time", std::string(length, '9') + ",1"}}});
            break;
        case 2:  // a key name no program writes
            sections[1].keys.push_back({"Path" + std::string(length, '1'), "C:\\a.avi"});
            break;
        case 3:  // a section name as long
            sections.push_back({longText(random, length), {{"Count", "1"}}});
            break;
        default:  // a long line without any newline at the end of the file
            return render(sections, random, "\r\n") + "[PlayList]\r\nPath0=" + longText(random, length);
        }
    }
    return render(sections, random, "\r\n");
}

std::string makeOddCase(Random& random, const Vocabulary& vocabulary) {
    std::vector<Section> sections = plausible(random, vocabulary);
    std::string text;
    for (Section& section : sections) {
        const char* pad = random.chance(30) ? " " : "";
        text += std::string(pad) + "[" + pad + scrambleCase(section.name, random) + pad + "]\r\n";
        for (Key& key : section.keys) {
            std::string gap = random.chance(30) ? " \t" : "";
            text += gap + scrambleCase(key.name, random) + gap + "=" + gap + key.value + gap + "\r\n";
        }
    }
    return text;
}

std::string mutate(std::string text, Random& random) {
    static const char specials[] = "\r\n\0[]=;\\,\x81\x95\xff\t ";
    unsigned mutations = 1 + random.below(12);
    for (unsigned n = 0; n < mutations; ++n) {
        size_t at = text.empty() ? 0 : random.below(static_cast<unsigned>(text.size()));
        switch (random.below(6)) {
        case 0:
            if (!text.empty()) text[at] = static_cast<char>(text[at] ^ (1 << random.below(8)));
            break;
        case 1:
            text.insert(at, 1, specials[random.below(sizeof specials - 1)]);
            break;
        case 2:
            text.erase(at, random.below(16));
            break;
        case 3: {
            size_t length = random.below(64);
            text.insert(at, text.substr(at, length));
            break;
        }
        case 4:
            text.insert(at, random.bytes(random.below(32)));
            break;
        default:
            if (!text.empty()) text[at] = static_cast<char>(random.next() >> 24);
            break;
        }
    }
    return text;
}

std::string makeEncoding(Random& random, const Vocabulary& vocabulary) {
    std::vector<Section> sections = plausible(random, vocabulary);
    switch (random.below(6)) {
    case 0:
        return render(sections, random, "\n");
    case 1:
        return render(sections, random, "\r");
    case 2:
        return "\xEF\xBB\xBF" + render(sections, random, "\r\n");  // UTF-8 byte-order mark
    case 3: {
        // UTF-16 with its byte-order mark, as some editors save.
        std::string narrow = render(sections, random, "\r\n");
        std::string wide = "\xFF\xFE";
        for (char c : narrow) {
            wide += c;
            wide += '\0';
        }
        if (random.chance(50)) wide.resize(wide.size() - 1);  // an odd length
        return wide;
    }
    case 4: {
        // Zero bytes in the middle of lines.
        std::string text = render(sections, random, "\r\n");
        for (unsigned n = 0; n < 3 && !text.empty(); ++n) text[random.below(text.size())] = '\0';
        return text;
    }
    default: {
        // A double-byte lead byte at the end of values and names.
        for (Section& section : sections) {
            for (Key& key : section.keys) key.value += '\x95';
        }
        return render(sections, random, "\r\n") + "\x81";
    }
    }
}

}  // namespace

std::string makeIni(Kind kind, Random& random, const Vocabulary& vocabulary) {
    switch (kind) {
    case wellFormed:
        return render(plausible(random, vocabulary), random, "\r\n");
    case truncated: {
        std::string text = render(plausible(random, vocabulary), random, "\r\n");
        return text.substr(0, random.below(static_cast<unsigned>(text.size()) + 1));
    }
    case binary: {
        std::string text = random.bytes(random.below(4096));
        // Sometimes with real section headers and keys among the junk.
        if (random.chance(50)) {
            text.insert(random.below(text.size() + 1), "\r\n[PlayList]\r\nCount=3\r\nPath1=");
            text.insert(random.below(text.size() + 1), "\r\n[Setting]\r\nRandom=");
        }
        return text;
    }
    case hugeNumbers:
        return makeHugeNumbers(random, vocabulary);
    case overlong:
        return makeOverlong(random, vocabulary);
    case oddCase:
        return makeOddCase(random, vocabulary);
    case mutated:
        return mutate(render(plausible(random, vocabulary), random, "\r\n"), random);
    case encoding:
    default:
        return makeEncoding(random, vocabulary);
    }
}

}  // namespace inifuzz
