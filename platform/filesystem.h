#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace folivant {

/// The path separator of every path the program builds.
inline constexpr char kPathDelimiter = '/';

/// True for an existing regular file (a folder does not count).
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

/// The file name part of a path: the text after the last "/" or "\", so that
/// paths stored by the Windows version of the program give sensible names.
std::string ExtractFileName(std::string_view path);
/// The folder part of a path including its final separator ("" when none).
std::string ExtractFilePath(std::string_view path);
/// The extension of the file name part, from its last "." on ("" when none).
std::string ExtractFileExt(std::string_view path);

/// `folder` + `name`, with a "/" between them unless `folder` already ends with one.
std::string JoinPath(const std::string& folder, const std::string& name);

/// The file's last-write time in local time, packed as an MS-DOS date-time
/// (date in the high 16 bits, time in the low 16 bits); -1 when the file cannot be found.
int32_t FileAgeDos(const std::string& path);

/// Opens the regular file at `path` for reading, never waiting on a named pipe
/// or device: a folder, pipe, socket or device is refused before it is opened
/// (opening a device can act on it), and one that takes the file's place
/// meanwhile right after. Returns the descriptor, which the caller closes.
/// Throws TError: the platform's message, or "Cannot read "<path>": it is a
/// named pipe, not a file" and the like.
int OpenRegularFile(const std::string& path);

/// Reads a whole regular file of at most `limit` bytes (each caller names its
/// limit), never waiting on a named pipe or device. Throws TError: the
/// platform's message when the file cannot be opened or read, a plain one when
/// it is a folder, pipe, socket or device, or when it holds more than `limit`
/// bytes (also when it grows past `limit` while it is read).
std::string ReadFileBytes(const std::string& path, size_t limit);

/// When a written file reaches the disk: before WriteFileAtomically returns, or
/// with the next FlushFileSystem (for many files written in a row).
enum class TFlush : uint8_t { Now, Later };

/// Replaces the file at `path` by `bytes` without ever leaving a half-written
/// file: writes a temporary file beside it, flushes it as `flush` says and
/// renames it over the old one. A symbolic link (or a chain of them) stays a
/// link: its final target is replaced. An existing file keeps its mode and,
/// where permitted, its owner and group; a new one gets 0666 less the umask. A
/// file with several hard links is overwritten in place instead, so that every
/// name sees the new bytes (fileio.cpp says how, and where that falls short).
/// Once saved, it removes the temporaries that earlier saves of the file left
/// unfinished. Throws TError, the previous file then intact: the platform's
/// message, or a plain one when `path` is a folder, pipe, socket or device.
void WriteFileAtomically(const std::string& path, std::string_view bytes, TFlush flush = TFlush::Now);

/// Writes a file that the program makes and owns (a generated album folder's
/// files, its cache): `bytes` become a new regular file at `path`, whatever
/// stands there. A symbolic link or a file with other hard links is replaced
/// by the new file; what it points to or shares is never opened for writing.
/// The file is written unnamed (O_TMPFILE) and named only when complete, so
/// an interruption leaves nothing; on file systems without unnamed files
/// through a named temporary, as WriteFileAtomically. An earlier file of the
/// program's keeps its mode. Throws TError, the previous file then intact:
/// the platform's message, or a plain one when `path` is a folder, pipe,
/// socket or device.
void WriteGeneratedFile(const std::string& path, std::string_view bytes, TFlush flush = TFlush::Now);

/// What the writers' temporary files beside a file named `name` start with:
/// "NAME.tmp-XXXXXX", NAME cut so that the whole fits the 255 bytes of a file name.
std::string_view TemporaryStem(std::string_view name);

/// Removes from `folder` the temporary files that an interrupted write left
/// there: regular files named exactly "STEM.tmp-XXXXXX" (six ASCII letters or
/// digits) for a STEM that `is_ours` accepts, last changed before `before_ns`
/// (FileClockNowNs). Links, folders and every other file stay. Returns how
/// many it removed; a folder that cannot be read counts none.
int RemoveStaleTemporaries(const std::string& folder, const std::function<bool(std::string_view stem)>& is_ours,
                           int64_t before_ns);

/// Brings everything written to the file system that holds `path` onto the
/// disk. Throws TError with the platform's message.
void FlushFileSystem(const std::string& path);

/// Creates a folder with all its missing parents; false when that fails.
bool ForceDirectories(const std::string& path);

}  // namespace folivant
