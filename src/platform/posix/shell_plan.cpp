#include "platform/posix/shell_plan.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <fstream>

#include "platform/files.h"

namespace platform::posix {
namespace {

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

bool IsExecutableFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string ParentOf(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Files on a CD or a FAT stick often carry execute bits on everything; only a binary or a script
// with an interpreter line is run as a program, anything else goes to the document opener.
bool LooksLikeProgram(const std::string& path) {
  if (!IsExecutableFile(path)) return false;
  std::ifstream in(path, std::ios::binary);
  char magic[4] = {};
  in.read(magic, sizeof magic);
  const auto got = in.gcount();
  if (got >= 2 && magic[0] == '#' && magic[1] == '!') return true;
  return got == 4 && magic[0] == '\x7f' && magic[1] == 'E' && magic[2] == 'L' && magic[3] == 'F';
}

bool SupportedVerb(const std::string& verb) {
  std::string lower;
  for (char c : verb) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower.empty() || lower == "open" || lower == "explore";
}

ShellPlan Fail(int code) {
  ShellPlan plan;
  plan.failureCode = code;
  return plan;
}

ShellPlan Opener(const ShellContext& context, const std::string& target,
                 const std::string& folder) {
  if (context.opener.empty()) return Fail(kShellNoAssociation);
  return {ShellAction::kUseOpener, 0, {context.opener, target}, folder};
}

// A relative name is looked for in the working folder first, then in the current folder, then,
// for a bare name, on the search path. Returns empty when nothing of that name exists.
std::string Resolve(const std::string& file, const std::string& folder,
                    const ShellContext& context) {
  if (file.front() == '/') return Exists(file) ? file : std::string();
  for (const auto& base : {folder, context.currentFolder}) {
    if (base.empty()) continue;
    std::string candidate = Join(base, file);
    if (Exists(candidate)) return candidate;
  }
  if (file.find('/') == std::string::npos) return FindInSearchPath(file, context.searchPath);
  return {};
}

int MissingFileCode(const std::string& file, const std::string& folder,
                    const ShellContext& context) {
  if (file.find('/') == std::string::npos) return kShellFileNotFound;
  std::string where =
      file.front() == '/' ? file : Join(folder.empty() ? context.currentFolder : folder, file);
  return DirectoryExists(ParentOf(where)) ? kShellFileNotFound : kShellPathNotFound;
}

}  // namespace

ShellPlan PlanShellOpen(const ShellRequest& request, const ShellContext& context) {
  if (!SupportedVerb(request.verb)) return Fail(kShellNoAssociation);
  const std::string& folder = request.workingFolder;
  if (!folder.empty() && !DirectoryExists(folder)) return Fail(kShellPathNotFound);
  if (request.file.empty()) return Fail(kShellFileNotFound);
  if (IsUrl(request.file)) return Opener(context, request.file, folder);

  std::string path = Resolve(request.file, folder, context);
  if (path.empty()) return Fail(MissingFileCode(request.file, folder, context));
  if (DirectoryExists(path)) return Opener(context, path, folder);
  if (!LooksLikeProgram(path)) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return Fail(kShellAccessDenied);
    return Opener(context, path, folder);
  }
  ShellPlan plan{ShellAction::kRunProgram, 0, {path}, folder};
  for (auto& argument : SplitCommandLine(request.parameters))
    plan.argv.push_back(std::move(argument));
  return plan;
}

std::vector<std::string> SplitCommandLine(const std::string& parameters) {
  std::vector<std::string> arguments;
  const std::size_t n = parameters.size();
  std::size_t i = 0;
  for (;;) {
    while (i < n && (parameters[i] == ' ' || parameters[i] == '\t')) ++i;
    if (i == n) return arguments;
    std::string argument;
    bool quoted = false;
    while (i < n) {
      char c = parameters[i];
      if (c == '\\') {
        std::size_t run = 0;
        while (i < n && parameters[i] == '\\') ++run, ++i;
        if (i < n && parameters[i] == '"') {
          // 2k backslashes before a quote are k backslashes and the quote still groups;
          // 2k+1 are k backslashes and a literal quote.
          argument.append(run / 2, '\\');
          if (run % 2 == 1) argument += '"', ++i;
        } else {
          argument.append(run, '\\');
        }
      } else if (c == '"') {
        if (quoted && i + 1 < n && parameters[i + 1] == '"') {
          argument += '"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else if (!quoted && (c == ' ' || c == '\t')) {
        break;
      } else {
        argument += c;
        ++i;
      }
    }
    arguments.push_back(std::move(argument));
  }
}

std::string FindInSearchPath(const std::string& name, const std::string& searchPath) {
  if (name.empty() || name.find('/') != std::string::npos) return {};
  std::size_t start = 0;
  while (start <= searchPath.size()) {
    std::size_t end = searchPath.find(':', start);
    if (end == std::string::npos) end = searchPath.size();
    std::string folder = searchPath.substr(start, end - start);
    if (!folder.empty()) {
      std::string candidate = Join(folder, name);
      if (IsExecutableFile(candidate)) return candidate;
    }
    start = end + 1;
  }
  return {};
}

bool IsUrl(const std::string& file) {
  auto colon = file.find(':');
  if (colon == std::string::npos || colon < 2) return false;
  if (!std::isalpha(static_cast<unsigned char>(file[0]))) return false;
  for (std::size_t i = 1; i < colon; ++i) {
    unsigned char c = static_cast<unsigned char>(file[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

}  // namespace platform::posix
