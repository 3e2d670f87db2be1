// Builds the Debian package with CPack and checks what it installs and what it depends on.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "docs/docs_files.h"
#include "settings/product.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

namespace fs = std::filesystem;

// Runs a command that must succeed and returns its output.
std::string Output(const std::vector<std::string>& command) {
  const ProgramResult result = RunCommand(command);
  EXPECT_EQ(result.exitCode, 0) << command[0] << " " << (command.size() > 1 ? command[1] : "") << ": "
                                << result.errorOutput;
  return result.output;
}

// Package names of a Depends field: "libc6 (>= 2.34), fonts-liberation" -> {libc6, fonts-liberation}.
std::set<std::string> PackageNames(const std::string& depends) {
  std::set<std::string> names;
  std::istringstream entries(depends);
  std::string entry;
  while (std::getline(entries, entry, ',')) {
    std::istringstream words(entry);
    std::string name;
    if (words >> name) names.insert(name);
  }
  return names;
}

// /lib is merged into /usr/lib, but dpkg knows a file only under the path its package ships it at.
std::vector<std::string> SpellingsOf(const std::string& path) {
  std::vector<std::string> spellings = {path, fs::canonical(path).string()};
  if (path.starts_with("/usr/lib/")) {
    spellings.push_back(path.substr(4));
  } else if (path.starts_with("/lib/")) {
    spellings.push_back("/usr" + path);
  }
  return spellings;
}

// The Debian package that holds a library file, without its architecture ("libcairo2"), or "".
std::string PackageOwning(const std::string& path) {
  for (const std::string& spelling : SpellingsOf(path)) {
    const ProgramResult result = RunCommand({"dpkg", "-S", spelling});
    if (result.exitCode == 0) return result.output.substr(0, result.output.find(':'));
  }
  return "";
}

// Paths of the shared libraries the program names directly (its NEEDED entries), found through ldd.
std::vector<std::string> DirectLibraries(const std::string& binary) {
  std::set<std::string> needed;
  for (const std::string& line : SplitIntoLines(Output({"readelf", "-d", binary}))) {
    const std::size_t open = line.find("(NEEDED)");
    if (open == std::string::npos) continue;
    const std::size_t start = line.find('[') + 1;
    needed.insert(line.substr(start, line.find(']') - start));
  }
  std::vector<std::string> paths;
  for (const std::string& line : SplitIntoLines(Output({"ldd", binary}))) {
    const std::size_t arrow = line.find(" => ");
    if (arrow == std::string::npos) continue;
    std::istringstream left(line.substr(0, arrow));
    std::string name;
    left >> name;
    if (!needed.contains(name)) continue;
    std::istringstream right(line.substr(arrow + 4));
    std::string path;
    right >> path;
    paths.push_back(path);
  }
  EXPECT_EQ(paths.size(), needed.size()) << "ldd did not resolve every library the program needs";
  return paths;
}

// The package, built once: cpack takes several seconds, so all checks share one test.
class DebianPackage {
 public:
  DebianPackage() {
    const ProgramResult cpack =
        RunCommand({"cpack", "-G", "DEB", "--config", std::string(LUMIVANE_BUILD_DIR) + "/CPackConfig.cmake", "-B",
                    packageDir_.path().string()});
    for (const fs::directory_entry& entry : fs::directory_iterator(packageDir_.path())) {
      if (entry.path().extension() == ".deb") path_ = entry.path().string();
    }
    if (path_.empty()) cpackOutput_ = cpack.output + cpack.errorOutput;
  }

  const std::string& Path() const { return path_; }
  const std::string& CpackOutput() const { return cpackOutput_; }

  std::string Field(const std::string& name) const {
    std::string value = Output({"dpkg-deb", "-f", path_, name});
    while (!value.empty() && value.back() == '\n') value.pop_back();
    return value;
  }

 private:
  TempDir packageDir_;
  std::string path_;
  std::string cpackOutput_;
};

void CheckContents(const DebianPackage& package) {
  const std::string contents = Output({"dpkg-deb", "-c", package.Path()});
  for (const char* path :
       {" ./usr/bin/lumivanecmd\n", " ./usr/share/man/man1/lumivanecmd.1.gz\n",
        " ./usr/share/bash-completion/completions/lumivanecmd\n", " ./usr/share/doc/lumivane/user-guide.md\n"}) {
    EXPECT_NE(contents.find(path), std::string::npos) << path << " missing from\n" << contents;
  }
  EXPECT_EQ(contents.find(" ./usr/local/"), std::string::npos) << contents;
}

void CheckInstalledFiles(const DebianPackage& package) {
  TempDir root;
  Output({"dpkg-deb", "-x", package.Path(), root.path().string()});
  const fs::path manualPage = root.path() / "usr/share/man/man1/lumivanecmd.1.gz";
  EXPECT_EQ(Output({"gzip", "-dc", manualPage.string()}), ReadSourceFile("docs/lumivanecmd.1"));
  EXPECT_EQ(ReadFileBytes((root.path() / "usr/share/bash-completion/completions/lumivanecmd").string()),
            ReadSourceFile("completion/lumivanecmd.bash"));
  // The packaged (stripped) program runs and tells its version.
  const ProgramResult version = RunCommand({(root.path() / "usr/bin/lumivanecmd").string(), "-v"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_TRUE(version.output.ends_with(VersionText(kProductVersion) + "\r\n")) << version.output;
}

void CheckControlFields(const DebianPackage& package) {
  EXPECT_EQ(package.Field("Package"), "lumivane");
  EXPECT_EQ(package.Field("Version"), VersionText(kProductVersion));
  EXPECT_EQ(package.Field("Architecture") + "\n", Output({"dpkg", "--print-architecture"}));
  EXPECT_EQ(package.Field("Homepage"), kWebAddress);
}

void CheckDependencies(const DebianPackage& package) {
  const std::set<std::string> depends = PackageNames(package.Field("Depends"));
  for (const char* name : {"libfreeimage3", "libdevil1c2", "libcairo2", "libpango-1.0-0", "libpangocairo-1.0-0",
                           "libjxr0", "fonts-liberation", "fonts-dejavu-core"}) {
    EXPECT_TRUE(depends.contains(name)) << name << " missing from Depends: " << package.Field("Depends");
  }
  for (const std::string& library : DirectLibraries(ProgramPath())) {
    const std::string owner = PackageOwning(library);
    EXPECT_FALSE(owner.empty()) << "no package owns " << library;
    EXPECT_TRUE(depends.contains(owner)) << library << " comes from " << owner << ", which Depends lacks";
  }
}

TEST(DebianPackage, InstallsProgramManualPageCompletionAndGuideAndDependsOnWhatTheProgramUses) {
  const DebianPackage package;
  ASSERT_FALSE(package.Path().empty()) << "cpack made no .deb:\n" << package.CpackOutput();
  {
    SCOPED_TRACE("contents");
    CheckContents(package);
  }
  {
    SCOPED_TRACE("installed files");
    CheckInstalledFiles(package);
  }
  {
    SCOPED_TRACE("control fields");
    CheckControlFields(package);
  }
  {
    SCOPED_TRACE("dependencies");
    CheckDependencies(package);
  }
}

}  // namespace
}  // namespace lumivane::testing
