#pragma once
// The program directory and the file names the program forms itself. Users copy
// data folders over from other machines, so "ROK2024", "rok2024" and "Rok2024" are
// one folder to the program: names are looked up without regard to letter case
// (ASCII letters; other characters must match exactly) and folders are created
// only when no folder of that name exists in any case.
#include <string>

namespace zeko {

// The folder of every file the program forms itself, always with a trailing '/':
// $ZEKO_PROGRAM_DIR when that is set (a technician's chosen folder, tests, the demo),
// else the user's data folder $XDG_DATA_HOME/zeko, by default ~/.local/share/zeko.
// Never the folder of the executable, which is a build tree or a folder of the
// system that the user cannot write.
std::string ProgramDir();

enum class TProgramDirState { Ready, NotCreated, NotWritable };
// Creates the program directory when it is missing (on first start) and checks
// that it can be written; `error` receives the errno of a failure.
TProgramDirState PrepareProgramDir(int& error);

// The entry of `dir` whose name equals `name` without regard to case; an entry of
// exactly that name wins. `name` itself when there is none (or `dir` is unreadable).
std::string FindNameNoCase(const std::string& dir, const std::string& name);

// `path` with each component that does not exist as written replaced by an existing
// entry that differs only in case. Components after the first one that exists in no
// case are left as given, so the result also names a file still to be created.
std::string ResolvePathNoCase(const std::string& path);

// A file or folder of the program directory, e.g. ProgramFile("ROK2024/Mesic03.zek").
std::string ProgramFile(const std::string& relative);

// Creates `dir` and its missing parents, reusing folders that exist in another case;
// each folder made is synced into its parent (it outlives a power cut). True when
// the folder exists afterwards; else errno tells why.
bool ForceDirectories(const std::string& dir);
// The same for the folder a file goes into; true at once for a bare file name.
bool ForceFileDirectory(const std::string& path);

// The folder part of a path without the trailing '/' ("" for a bare name).
std::string ExtractFileDir(const std::string& path);
// The name part of a path.
std::string ExtractFileName(const std::string& path);

bool FileExists(const std::string& path);       // a file, not a folder
bool DirectoryExists(const std::string& path);

} // namespace zeko
