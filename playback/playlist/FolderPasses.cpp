#include "playback/playlist/FolderPasses.h"

#include <cstring>

#include "base/DirectorySearch.h"
#include "base/Exception.h"
#include "playback/playlist/PlaylistBuilder.h"

namespace {

// Whether name's own extension (that of its long name) is this one,
// whatever the case of its letters. A dot is never the second byte of a
// double-byte character.
bool hasExtension(const char* name, const CountedString& extension) {
    const char* dot = strrchr(name, '.');
    return dot && lstrcmpiA(dot + 1, extension.c_str()) == 0;
}

// Every video extension but avi has an m in it: one pass with this pattern
// finds them all, and a camera's photos (.JPG) are not among what it returns.
const char sharedPattern[] = "*.*m*";

bool sharesPass(const CountedString& extension) {
    return strchr(extension.c_str(), 'm') != nullptr;
}

}  // namespace

FolderPasses::FolderPasses(const CountedString& folder, const StringArray& extensions, FoundFiles& found)
    : folder(folder), extensions(extensions), found(found), listed(0), released(0) {}

bool FolderPasses::run() {
    unsigned shared = 0;
    for (int i = 0; i < extensions.count(); ++i) {
        if (sharesPass(extensions.at(i))) shared |= 1u << i;
    }
    for (int i = 0; i < extensions.count(); ++i) {
        if (listed & (1u << i)) continue;
        const bool inShared = (shared & (1u << i)) != 0;
        const CountedString pattern = folder + (inShared ? CountedString(sharedPattern) : "*." + extensions.at(i));
        if (!pass(pattern, inShared ? shared : 1u << i)) return false;
    }
    return true;
}

bool FolderPasses::pass(const CountedString& pattern, unsigned covered) {
    DirectorySearch search;
    for (search.open(pattern.c_str()); search.valid(); search.next()) {
        if (!found.goOn()) return false;
        // A pattern also matches short (8.3) names: "*.mov" finds
        // holiday.movie as HOLIDA~1.MOV, which is no such video.
        int place = 0;
        while (place < extensions.count() &&
               !((covered & (1u << place)) && hasExtension(search.name(), extensions.at(place))))
            ++place;
        if (place == extensions.count()) continue;
        if (place == released) {
            if (!found.take(folder + search.name())) return false;
            continue;
        }
        // A name in another script may take more than MAX_PATH bytes in its
        // narrow form, so it is kept whole.
        const char placeByte[] = {static_cast<char>(place + 1), '\0'};
        if (!waiting.append((CountedString(placeByte) + search.name()).c_str())) throwOutOfMemory();
    }
    listed |= covered;
    for (; released < extensions.count() && (listed & (1u << released)); ++released) {
        for (const char* name = waiting.first(); name; name = waiting.following(name)) {
            if (*name == released + 1 && !found.take(folder + (name + 1))) return false;
        }
    }
    return true;
}
