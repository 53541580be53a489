// floor_scan: the least work any reader of a UTF-16 shape text must do, as a
// whole process to hold orvane-cli against.
//
// Reads the whole file with one read into new[] memory, then makes one pass
// over its UTF-16LE code units after the byte-order mark and the header line,
// classing each as blank (below "!"), "(", ")", quotation mark or word
// character, and counts the tokens as the shape reader delimits them: words
// (runs of word characters, a quotation mark inside a word included), quoted
// values (from a quotation mark that starts an item to the next one) and
// parentheses.
//
//   floor_scan [--huge] FILE
//
// --huge reads into anonymous memory advised to use transparent huge pages
// instead of new[] memory (4 KiB pages, each faulted in by the read).
// Prints one line: "bytes N units N tokens N words N quoted N opens N
// closes N read_s X scan_s X".

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

enum Kind : std::uint8_t { Blank, Open, Close, Quote, Word };

struct Counts {
    std::uint64_t words = 0, quoted = 0, opens = 0, closes = 0;
};

// One pass over n code units at p (little-endian). The usual path has no
// branch on the data: a word starts where a word character follows
// anything else. A quotation mark that starts an item is rare and skips to
// the closing mark.
Counts scan(const unsigned char* p, std::size_t n) {
    Kind kinds[256];  // by the low byte of a code unit whose high byte is 0
    for (int u = 0; u < 256; ++u) kinds[u] = u < 0x21 ? Blank : Word;
    kinds[static_cast<int>('(')] = Open;
    kinds[static_cast<int>(')')] = Close;
    kinds[static_cast<int>('"')] = Quote;

    Counts c;
    unsigned inWord = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned k = p[2 * i + 1] ? Word : kinds[p[2 * i]];
        if (__builtin_expect(k == Quote && !inWord, 0)) {
            ++c.quoted;
            for (++i; i < n && !(p[2 * i] == '"' && p[2 * i + 1] == 0); ++i) {
            }
            continue;
        }
        const unsigned w = k >= Quote;
        c.words += w & ~inWord;
        c.opens += k == Open;
        c.closes += k == Close;
        inWord = w;
    }
    return c;
}

double now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

struct Unmap {
    std::size_t bytes;
    void operator()(unsigned char* p) const { ::munmap(p, bytes); }
};

}  // namespace

int main(int argc, char** argv) {
    bool huge = false;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--huge") == 0) huge = true;
        else path = argv[i];
    }
    if (!path) {
        std::fprintf(stderr, "usage: floor_scan [--huge] FILE\n");
        return 2;
    }

    const double start = now();
    const int fd = ::open(path, O_RDONLY);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        std::perror(path);
        return 1;
    }
    const auto size = static_cast<std::size_t>(st.st_size);
    std::unique_ptr<unsigned char[]> plain;
    std::unique_ptr<unsigned char, Unmap> mapped(nullptr, Unmap{size + 2});
    unsigned char* buffer;
    if (huge) {
        void* m = ::mmap(nullptr, size + 2, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (m == MAP_FAILED) {
            std::perror("mmap");
            return 1;
        }
        ::madvise(m, size + 2, MADV_HUGEPAGE);
        mapped.reset(static_cast<unsigned char*>(m));
        buffer = mapped.get();
    } else {
        plain.reset(new unsigned char[size + 2]);
        buffer = plain.get();
    }
    for (std::size_t got = 0; got < size;) {
        const ssize_t r = ::read(fd, buffer + got, size - got);
        if (r <= 0) {
            std::perror(path);
            return 1;
        }
        got += static_cast<std::size_t>(r);
    }
    ::close(fd);
    const double read = now();

    const std::size_t n = size / 2;
    std::size_t first = 0;
    if (n && buffer[0] == 0xFF && buffer[1] == 0xFE) first = 1;
    while (first < n && !(buffer[2 * first] == '\n' && buffer[2 * first + 1] == 0)) ++first;
    if (first < n) ++first;
    const Counts c = scan(buffer + 2 * first, n - first);
    const double scanned = now();

    const auto u = [](std::uint64_t v) { return static_cast<unsigned long long>(v); };
    std::printf("bytes %zu units %zu tokens %llu words %llu quoted %llu opens %llu closes %llu read_s %.6f scan_s %.6f\n",
                size, n - first, u(c.words + c.quoted + c.opens + c.closes), u(c.words), u(c.quoted), u(c.opens),
                u(c.closes), read - start, scanned - read);
    return 0;
}
