#include "playback/show/PlaylistFeeder.h"

#include "base/Exception.h"
#include "base/WidePath.h"
#include "playback/playlist/PlaylistBuilder.h"

namespace {

bool isExistingFile(const CountedString& path) {
    if (path.length() == 0) return false;
    const DWORD attributes = WidePath::attributes(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

PlaylistFeeder::PlaylistFeeder()
    : playlist(nullptr), random(false), resume(false), resumeUnsettled(false), over(false), complete(false),
      isWaiting(false) {}

PlaylistFeeder::~PlaylistFeeder() {}

bool PlaylistFeeder::begin(Playlist& list, const Settings& settings) {
    playlist = &list;
    random = settings.random != 0;
    resume = settings.resume != 0;
    resumeName = settings.resumeName;
    resumeUnsettled = resume && isExistingFile(resumeName) && mayBeListed(resumeName, settings.entries);
    over = false;
    complete = false;
    isWaiting = false;
    return resumeUnsettled;
}

void PlaylistFeeder::take(const PathBatch& batch) {
    for (const char* path = batch.first(); path; path = batch.following(path)) add(path);
}

void PlaylistFeeder::add(const CountedString& path) {
    playlist->add(path);
    // In list order the first delivery of the stored file is its place,
    // as the lookup over the whole list would find it.
    if (resumeUnsettled && !random && path.equals(resumeName.c_str())) {
        playlist->find(resumeName);
        resumeUnsettled = false;
    }
}

void PlaylistFeeder::searchEnded(bool wasComplete) {
    over = true;
    complete = wasComplete;
    // The lookup that a list built before the show made: in the shuffled
    // order in random mode; in list order the file is not in the list.
    if (resume && random) {
        playlist->shuffle();
        playlist->find(resumeName);
    }
    resumeUnsettled = false;
}

bool PlaylistFeeder::nextKnown() const {
    if (!playlist || playlist->count() == 0) return false;
    if (random) return over;
    if (resumeUnsettled) return false;
    return over || playlist->place() + 1 < playlist->count();
}

CountedString PlaylistFeeder::next() {
    if (!nextKnown()) throwWin32Error(ERROR_INVALID_FUNCTION);
    playing = playlist->next(random);
    isWaiting = false;
    return playing;
}

CountedString PlaylistFeeder::resumeFile() {
    playing = resumeName;
    isWaiting = false;
    return playing;
}
