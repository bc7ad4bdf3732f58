#include "flash/DlfScript.h"

#include "platform/RegularFile.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Cuts pieces of a file into lines as they arrive; only the unfinished last line is kept between
// pieces.
class DlfLineSplitter {
public:
    explicit DlfLineSplitter(DlfScript& script) : script_(script) {}

    bool Feed(const char* data, std::size_t size)
    {
        std::size_t start = 0;
        for (;;) {
            const void* found = size > start ? std::memchr(data + start, '\n', size - start) : nullptr;
            if (found == nullptr) {
                partial_.append(data + start, size - start);
                return partial_.size() <= kDlfMaxLineLength + 2; // room for the line's own CR
            }
            const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(found) - data);
            partial_.append(data + start, end - start);
            if (!Line()) return false;
            start = end + 1;
        }
    }

    bool Finish() { return partial_.empty() || Line(); }

private:
    bool Line()
    {
        std::size_t stop = partial_.size();
        while (stop > 0 && (partial_[stop - 1] == '\r' || partial_[stop - 1] == '\n')) --stop;
        if (stop > kDlfMaxLineLength || script_.size() >= kDlfMaxLines) return false;
        script_.push_back(std::string_view(partial_.data(), stop));
        partial_.clear();
        return true;
    }

    DlfScript& script_;
    std::string partial_;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

DlfScript::DlfScript(std::initializer_list<std::string_view> lines)
{
    for (std::string_view line : lines) push_back(line);
}

std::string_view DlfScript::operator[](std::size_t index) const
{
    const std::size_t start = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(text_.data() + start, ends_[index] - start);
}

void DlfScript::clear()
{
    text_.clear();
    text_.shrink_to_fit();
    ends_.clear();
    ends_.shrink_to_fit();
}

void DlfScript::push_back(std::string_view line)
{
    text_.append(line.data(), line.size());
    ends_.push_back(static_cast<std::uint32_t>(text_.size()));
}

std::size_t DlfScript::MemoryBytes() const
{
    return text_.capacity() + ends_.capacity() * sizeof(std::uint32_t);
}

bool DlfScript::operator==(const DlfScript& other) const
{
    return text_ == other.text_ && ends_ == other.ends_;
}

bool ParseDlfScript(const std::string& bytes, DlfScript& script)
{
    script.clear();
    DlfLineSplitter splitter(script);
    if (splitter.Feed(bytes.data(), bytes.size()) && splitter.Finish()) return true;
    script.clear();
    return false;
}

DlfReadResult ReadDlfScriptFile(const std::string& path, DlfScript& script)
{
    script.clear();
    std::unique_ptr<std::FILE, FileCloser> file(RegularFile::OpenStream(path));
    if (!file) return DlfReadResult::Unreadable;
    DlfLineSplitter splitter(script);
    std::vector<char> buffer(64 * 1024);
    std::size_t total = 0;
    DlfReadResult result = DlfReadResult::Ok;
    for (;;) {
        const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file.get());
        total += got;
        if (total > kDlfMaxFileSize || !splitter.Feed(buffer.data(), got)) {
            result = DlfReadResult::TooLarge;
            break;
        }
        if (got < buffer.size()) {
            if (std::ferror(file.get())) {
                result = DlfReadResult::Unreadable;
            } else if (!splitter.Finish()) {
                result = DlfReadResult::TooLarge;
            }
            break;
        }
    }
    if (result != DlfReadResult::Ok) script.clear();
    return result;
}

int ReadDlfScript(const std::string& path, DlfScript& script)
{
    return ReadDlfScriptFile(path, script) == DlfReadResult::Ok ? 1 : 0;
}
