// One change of a statistics file, stated so that making it twice gives the same file as making it once.
#include "stats/file_change.h"

#include <fcntl.h>
#include <unistd.h>

#include "stats/stat_files.h"
#include "storage/safe_file.h"

namespace cw::stats {

void applyChange(const StatsContext& ctx, const FileChange& c)
{
    const std::string path = storage::resolveNoCase(ctx.path(c.file));
    switch (c.kind) {
    case FileChange::Kind::AppendAt: storage::appendWholeAt(path, c.offset, c.bytes); break;
    case FileChange::Kind::SetValue: storage::writeKeyedValue(path, c.section, c.key, c.value); break;
    case FileChange::Kind::WriteSection: storage::overwriteSection(path, c.section, c.pairs); break;
    case FileChange::Kind::Remove:
        deleteFileIfExists(path);
        ctx.inform(c.message);
        break;
    }
}

void commitChange(const StatsContext& ctx, const FileChange& c)
{
    if (ctx.changes)
        ctx.changes->beforeChange(c);
    applyChange(ctx, c);
}

FileChange appendChange(const StatsContext& ctx, const std::string& file, std::string bytes, bool lineText)
{
    FileChange c;
    c.kind = FileChange::Kind::AppendAt;
    c.file = file;
    const std::string path = storage::resolveNoCase(ctx.path(file));
    c.offset = storage::fileSizeOf(path);
    if (lineText && c.offset > 0) {
        char last = '\n';
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            if (::pread(fd, &last, 1, off_t(c.offset - 1)) != 1)
                last = '\n';
            ::close(fd);
        }
        if (last != '\n')
            bytes = "\r\n" + bytes;
    }
    c.bytes = std::move(bytes);
    return c;
}

} // namespace cw::stats
