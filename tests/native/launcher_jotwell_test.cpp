#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "launchers/jotwell/code_runners.h"
#include "launchers/jotwell/jotwell_options.h"
#include "launchers/jotwell/jotwell_paths.h"

namespace {

// What the fake disk holds; anything else is Missing. It records what it was
// asked, so that the tests see the quotes were stripped first and that some
// paths are never looked up at all.
struct FakeDisk {
  std::map<std::string, PathKind> entries = {
      {"C:\\Tools\\ed.exe", PathKind::File},      {"C:\\Tools\\my editor.EXE", PathKind::File},
      {"C:\\Tools\\notes.txt", PathKind::File},   {"C:\\Tools\\dir.exe", PathKind::Folder},
      {"C:\\Tools\\run.exe.bat", PathKind::File}, {"\\\\host\\share\\ed.exe", PathKind::File},
      {"//host/share/ed.exe", PathKind::File},
  };
  std::vector<std::string> asked;
  std::function<PathKind(const std::string&)> Kind() {
    return [this](const std::string& path) {
      asked.push_back(path);
      const auto found = entries.find(path);
      return found == entries.end() ? PathKind::Missing : found->second;
    };
  }
};

}  // namespace

TEST(JotwellOptions, ParsesOptionsInAnyOrderAndCase) {
  FakeDisk disk;
  struct Case {
    std::string argumentText;
    std::string text, filePath;
    bool open;
    std::string editorPath;
    bool usable;
  } cases[] = {
      {"/sHello /oC:\\n.txt", "Hello", "C:\\n.txt", false, "", true},
      {"/OC:\\n.txt /SHello", "Hello", "C:\\n.txt", false, "", true},
      {"/oC:\\n.txt /e /sHello", "Hello", "C:\\n.txt", true, "", true},
      {"/EC:\\Tools\\ed.exe /sHi /oC:\\n.txt", "Hi", "C:\\n.txt", true, "C:\\Tools\\ed.exe", true},
      // Blanks: the text keeps its own, the paths lose their trailing ones.
      {"/s  two  blanks  /oC:\\n.txt   ", "  two  blanks ", "C:\\n.txt", false, "", true},
      {"/sa\tb\r\nc /o\"C:\\a b\\n.txt\"", "a\tb\r\nc", "\"C:\\a b\\n.txt\"", false, "", true},
      // A " /" inside the text cuts it; the rest is another (ignored) piece.
      {"/sa /x b /oC:\\n.txt", "a", "C:\\n.txt", false, "", true},
      {"/sa /b/c /oC:\\n.txt", "a", "C:\\n.txt", false, "", true},
      // A later S overwrites.
      {"/sOne /sTwo /oC:\\b /eC:\\Tools\\ed.exe", "Two", "C:\\b", true, "C:\\Tools\\ed.exe", true},
      // O or E given twice: the page's text may have added the second one.
      {"/sOne /sTwo /oC:\\a /oC:\\b /e /eC:\\Tools\\ed.exe", "Two", "C:\\b", true, "C:\\Tools\\ed.exe",
       false},
      {"/eC:\\Tools\\ed.exe /e /sx /oy", "x", "y", true, "", false},
      {"/sx /oy /e /e", "x", "y", true, "", false},
      {"/sx /oC:\\a /oC:\\a", "x", "C:\\a", false, "", false},
      {"/sx /oy /O", "x", "", false, "", false},
      // Editors that do not qualify are dropped without a word.
      {"/sx /oy /eC:\\Tools\\notes.txt", "x", "y", true, "", true},
      {"/sx /oy /eC:\\Tools\\dir.exe", "x", "y", true, "", true},
      {"/sx /oy /eC:\\Tools\\gone.exe", "x", "y", true, "", true},
      {"/sx /oy /e\"C:\\Tools\\my editor.EXE\"  ", "x", "y", true, "\"C:\\Tools\\my editor.EXE\"", true},
      {"/sx /oy /e\"", "x", "y", true, "", true},
      // Japanese text, with a trail byte 0x5C at its end.
      {"/s表 /oC:\\表.txt", "表", "C:\\表.txt", false, "", true},
      // Unusable: no leading slash, no text, no file path.
      {"sHello /oC:\\n.txt", "", "", false, "", false},
      {" /sHello /oC:\\n.txt", "", "", false, "", false},
      {"/sHello", "Hello", "", false, "", false},
      {"/s /oC:\\n.txt", "", "C:\\n.txt", false, "", false},
      {"/sHello /o   ", "Hello", "", false, "", false},
      {"/", "", "", false, "", false},
      {"", "", "", false, "", false},
  };
  for (const Case& c : cases) {
    const JotwellOptions options = ParseOptions(c.argumentText, disk.Kind());
    EXPECT_EQ(options.text, c.text) << c.argumentText;
    EXPECT_EQ(options.filePath, c.filePath) << c.argumentText;
    EXPECT_EQ(options.open, c.open) << c.argumentText;
    EXPECT_EQ(options.editorPath, c.editorPath) << c.argumentText;
    EXPECT_EQ(options.usable, c.usable) << c.argumentText;
  }
}

// The places the host checks a line by: every " /" after the leading slash
// starts an option, whatever byte comes after it.
TEST(JotwellOptions, LocatesEachOptionsSlashAndEnd) {
  using Places = std::vector<std::pair<std::size_t, std::size_t>>;
  const struct {
    std::string argumentText;
    Places places;  // each option's slash and end
  } cases[] = {
      {"/sa /ob", {{0, 3}, {4, 7}}},
      {"/sa  /ob /", {{0, 4}, {5, 8}, {9, 10}}},
      {"/ /s", {{0, 1}, {2, 4}}},
      {"/sa / /b", {{0, 3}, {4, 5}, {6, 8}}},
      // Only a blank before a slash separates: not a tab, not a double-byte
      // character (表 is 0x95 0x5C).
      {"/sa\t/b /c", {{0, 6}, {7, 9}}},
      {"/s表/o /e", {{0, 6}, {7, 9}}},
      {"/", {{0, 1}}},
      {" /sa", {}},
      {"sa /ob", {}},
      {"", {}},
  };
  for (const auto& c : cases) {
    Places places;
    for (const JotwellOptionPlace& place : LocateOptions(c.argumentText))
      places.emplace_back(place.slash, place.end);
    EXPECT_EQ(places, c.places) << c.argumentText;
  }
}

TEST(JotwellOptions, EditorsOfTheWrongShapeAreDroppedWithoutLookingThemUp) {
  struct Case {
    std::string editor;
    std::string kept;  // "" when dropped
    bool lookedUp;
  } cases[] = {
      {"C:\\Tools\\ed.exe", "C:\\Tools\\ed.exe", true},
      {"\"C:\\Tools\\my editor.EXE\"", "\"C:\\Tools\\my editor.EXE\"", true},
      // On the disk, but on another machine or smuggling a second token.
      {"\\\\host\\share\\ed.exe", "", false},
      {"//host/share/ed.exe", "", false},
      {"\\\\?\\UNC\\host\\share\\ed.exe", "", false},
      {"C:\\Tools\\ed.exe\" \"C:\\Tools\\ed.exe", "", false},
      // ".exe" in the path, but what would start is a batch file.
      {"C:\\Tools\\run.exe.bat", "", false},
  };
  for (const Case& c : cases) {
    FakeDisk disk;
    const JotwellOptions options = ParseOptions("/sx /oy /e" + c.editor, disk.Kind());
    EXPECT_EQ(options.editorPath, c.kept) << c.editor;
    EXPECT_TRUE(options.open) << c.editor;
    EXPECT_EQ(!disk.asked.empty(), c.lookedUp) << c.editor;
  }
}

TEST(JotwellPaths, TextFileThatWindowsWouldRunIsRefused) {
  const auto extensions = ExecutableExtensions("");
  struct Case {
    std::string path;
    bool safe;
  } cases[] = {
      {"C:\\notes.txt", true},
      {"notes", true},
      {"C:\\dir.bat\\notes.txt", true},  // only the last name counts
      {"C:\\x.bat\\..\\notes.txt", true},
      {"\\\\nas\\home\\notes.txt", true},
      {"C:\\x.batch", true},
      {"C:\\x.txt::$DATA", true},
      {"C:\\x.txt:notes", true},
      // Straight, in any case; types of PATHEXT and of the shell.
      {"C:\\Startup\\x.bat", false},
      {"C:\\x.BaT", false},
      {".bat", false},
      {"C:\\x.cmd", false},
      {"C:\\x.lnk", false},
      {"C:\\x.hta", false},
      {"C:\\x.ps1", false},
      // What Windows drops or resolves before it creates the file.
      {"C:\\x.bat.", false},
      {"C:\\x.bat ", false},
      {"C:\\x.bat. . .", false},
      {"C:\\x.bat\\", false},
      {"C:\\x.bat\\.", false},
      {"C:\\x.bat\\\\", false},
      {"C:\\x.bat/.", false},
      {"C:\\notes.txt\\..\\x.bat", false},
      {"C:/Startup/x.bat", false},
      {"C:x.bat", false},
      {"x.bat", false},
      // Streams: of an executable file, or with an executable name.
      {"C:\\x.txt:y.bat", false},
      {"C:\\x.txt:y.bat:$DATA", false},
      {"C:\\x.txt:y.bat.", false},
      {"C:\\x.bat::$DATA", false},
      {"C:\\x.bat:s", false},
      {"C:\\dir\\:y.bat", false},
      // A quote is in no file name; devices are no files.
      {"C:\\x.bat\"", false},
      {"C:\\\"x.txt", false},
      {"\\\\.\\pipe\\notes", false},
      {"\\\\?\\GLOBALROOT\\Device\\x.txt", false},
      {"\\??\\pipe\\x", false},
      {"C:\\dir\\nul.txt", false},
      {"CON", false},
      {"C:\\ CON.txt", false},
      {"C:\\  aux ", false},
      {"C:\\com1 .log", false},
      {"\\\\?\\C:\\notes.txt", true},
      {"\\\\?\\C:\\x.bat", false},
      // Japanese names; 表 and ソ end in the byte of a backslash.
      {"C:\\表\\ソ.txt", true},
      {"C:\\表.bat", false},
      {"C:\\ソ\\x.bat", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsSafeTextFilePath(c.path, extensions), c.safe) << c.path;
}

TEST(JotwellPaths, ExecutableExtensionsAddThePathExtVariable) {
  struct Case {
    std::string pathext, name;
    bool executable;
  } cases[] = {
      {"", "x.bat", true},           // unset: the system's defaults
      {".COM;.EXE", "x.bat", true},  // Explorer runs them whatever the variable says
      {".COM;.EXE;.ORBISKRUN", "x.OrbiskRun", true},
      {" .foo ; bar;;", "x.FOO", true},
      {" .foo ; bar;;", "x.bar", true},
      {".foo", "x.txt", false},
      {";.;", "x", false},
      {";.;", "x.", false},
      {"", "x.orbiskrun", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HasExtensionIn(c.name, ExecutableExtensions(c.pathext)), c.executable)
        << c.pathext << " " << c.name;
  }
}

TEST(JotwellPaths, EditorMustLookLikeALocalProgram) {
  struct Case {
    std::string editor;
    bool local;
  } cases[] = {
      {"C:\\Tools\\ed.exe", true},
      {"\"C:\\Program Files\\ed.EXE\"", true},
      {"ed.exe", true},
      {"..\\Tools\\ed.exe", true},
      {"C:\\Tools\\ed.exe.", true},
      {"\\\\?\\C:\\Tools\\ed.exe", true},
      {"C:\\表\\ソ.exe", true},
      // Another machine.
      {"\\\\host\\share\\ed.exe", false},
      {"//host/share/ed.exe", false},
      {"\\/host/share/ed.exe", false},
      {"\"\\\\host\\share\\ed.exe\"", false},
      {"  \\\\host\\share\\ed.exe", false},
      {"\\\\?\\UNC\\host\\share\\ed.exe", false},
      {"\\\\.\\unc\\host\\share\\ed.exe", false},
      {"\\??\\UNC\\host\\share\\ed.exe", false},
      {"\\\\?\\GLOBALROOT\\Device\\Mup\\host\\ed.exe", false},
      // Quotes other than one enclosing pair.
      {"C:\\Tools\\ed.exe\"", false},
      {"\"C:\\Tools\\ed.exe", false},
      {"\"C:\\ed.exe\" \"C:\\x.exe\"", false},
      {"C:\\Tools\\e\"d.exe", false},
      {"\"", false},
      // Not a program file of its own.
      {"C:\\Tools\\ed.com", false},
      {"C:\\Tools.exe\\run.bat", false},
      {"C:\\Tools\\ed.exe\\..\\run.cmd", false},
      {"C:\\Tools\\notes.txt:ed.exe", false},
  };
  for (const Case& c : cases) EXPECT_EQ(HasLocalProgramShape(c.editor), c.local) << c.editor;
}

TEST(JotwellCodeRunners, KnownByTheirNameInAnyCaseAndVersion) {
  struct Case {
    std::string name;
    bool runsCode;
  } cases[] = {
      {"cmd.exe", true},
      {"CMD.EXE", true},
      {"PowerShell.exe", true},
      {"pwsh.exe", true},
      {"bash.exe", true},
      {"wsl.exe", true},
      {"wscript.exe", true},
      {"cscript.exe", true},
      {"mshta.exe", true},
      {"python.exe", true},
      {"python3.exe", true},
      {"python3.12.exe", true},
      {"Python312.exe", true},
      {"python3.13t.exe", true},
      {"pythonw3.12.exe", true},
      {"py.exe", true},
      {"node.exe", true},
      {"perl5.36.0.exe", true},
      {"ruby.exe", true},
      {"php8.2.exe", true},
      {"java.exe", true},
      {"javaw.exe", true},
      {"tclsh86t.exe", true},
      {"wish.exe", true},
      {"AutoHotkeyU64.exe", true},
      {"rundll32.exe", true},
      {"regsvr32.exe", true},
      {"msiexec.exe", true},
      {"MSBuild.exe", true},
      {"InstallUtil.exe", true},
      {"RegAsm.exe", true},
      {"RegSvcs.exe", true},
      {"cmstp.exe", true},
      {"control.exe", true},
      {"mmc.exe", true},
      {"hh.exe", true},
      {"explorer.exe", true},
      // Editors, and names that only begin or end like an interpreter's.
      {"notepad.exe", false},
      {"ed.exe", false},
      {"pythonista.exe", false},
      {"python3x.y.exe", false},
      {"python.3.exe", false},
      {"mycmd.exe", false},
      {"cmd2.exe", false},
      {"pyw.exe.txt", false},
      {"cmd", false},
      {"cmd.com", false},
      {"", false},
      // Tools that do not run the file they are given.
      {"certutil.exe", false},
      {"bitsadmin.exe", false},
      {"schtasks.exe", false},
      {"forfiles.exe", false},
      {"wmic.exe", false},
      // Double-byte names: a trail byte never passes for a letter.
      {"表.exe", false},
      {"ソcmd.exe", false},
  };
  for (const Case& c : cases) EXPECT_EQ(RunsFileAsCode(c.name), c.runsCode) << c.name;
}

TEST(JotwellOptions, EditorsThatRunTheFileAreRefused) {
  // Each on the disk as a file, so that only the name refuses it.
  struct Case {
    std::string editor;
    bool usable;
  } cases[] = {
      {"C:\\Windows\\System32\\cmd.exe", false},
      {"\"C:\\Windows\\System32\\CMD.EXE\"", false},
      {"C:/Windows/System32/cmd.exe", false},
      {"C:\\Windows\\System32\\cmd.exe. ", false},
      {"C:\\Windows\\System32\\cmd.exe::$DATA", false},
      {"C:\\Tools\\cmd.exe\\..\\python3.12.exe", false},
      {"\\\\host\\share\\python.exe", false},
      {"D:\\Scripts\\WScript.exe", false},
      {"cmd.exe", false},
      // Editors, still started.
      {"C:\\Tools\\ed.exe", true},
      {"C:\\cmd.exe\\ed.exe", true},
  };
  for (const Case& c : cases) {
    FakeDisk disk;
    disk.entries[c.editor] = PathKind::File;
    const JotwellOptions options = ParseOptions("/sx /oy /e" + c.editor, disk.Kind());
    EXPECT_EQ(options.usable, c.usable) << c.editor;
  }
}

TEST(JotwellOptions, EditorIsAlsoJudgedByItsLongName) {
  FakeDisk disk;
  disk.entries["C:\\PS\\POWERS~1.EXE"] = PathKind::File;
  disk.entries["C:\\PS\\EDITOR~1.EXE"] = PathKind::File;
  const std::map<std::string, std::string> longNames = {
      {"C:\\PS\\POWERS~1.EXE", "C:\\PS\\powershell.exe"},
      {"C:\\PS\\EDITOR~1.EXE", "C:\\PS\\editor-long.exe"},
  };
  std::vector<std::string> askedLong;
  const auto longPathOf = [&](const std::string& path) {
    askedLong.push_back(path);
    const auto found = longNames.find(path);
    return found == longNames.end() ? std::string() : found->second;
  };
  EXPECT_FALSE(ParseOptions("/sx /oy /eC:\\PS\\POWERS~1.EXE", disk.Kind(), longPathOf).usable);
  const JotwellOptions editor = ParseOptions("/sx /oy /e\"C:\\PS\\EDITOR~1.EXE\"", disk.Kind(), longPathOf);
  EXPECT_TRUE(editor.usable);
  EXPECT_EQ(editor.editorPath, "\"C:\\PS\\EDITOR~1.EXE\"");
  // Asked without the quotes, and only about files on the disk.
  EXPECT_EQ(askedLong, (std::vector<std::string>{"C:\\PS\\POWERS~1.EXE", "C:\\PS\\EDITOR~1.EXE"}));
  ParseOptions("/sx /oy /eC:\\PS\\GONE~1.EXE", disk.Kind(), longPathOf);
  EXPECT_EQ(askedLong.size(), 2u);
}
