// Every program Orbisk ships carries its application manifest, and Windows
// reads from it what the programs rely on: code page 932 whatever the system
// locale, the themed common controls, system DPI awareness, no elevation and
// Windows 10/11 behaviour. Each exe's resource is read back through an
// activation context made from it, as the loader makes one at start.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/wide_text.h"
#include "common/win_handles.h"
#include "tests/harness/build_output.h"

namespace {

struct Program {
  const char* name;
  const char* path;  // build machine path
};

const Program kPrograms[] = {
    {"Orbisk", ORBISK_APP_EXE},        {"OrbiskHost", ORBISK_HOST_EXE},     {"Jotwell", ORBISK_JOTWELL_EXE},
    {"Fetchbay", ORBISK_FETCHBAY_EXE}, {"Pagewatch", ORBISK_PAGEWATCH_EXE}, {"Clipsy", ORBISK_CLIPSY_EXE},
};

constexpr GUID kWindows10And11 = {
    0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}};

struct ActCtxTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ReleaseActCtx(h); }
};
using UniqueActCtx = UniqueWinHandle<HANDLE, ActCtxTraits>;
struct LoadedModuleTraits {
  static HMODULE Invalid() { return nullptr; }
  static void Close(HMODULE h) { FreeLibrary(h); }
};
using UniqueModule = UniqueWinHandle<HMODULE, LoadedModuleTraits>;

// The compatibility information as Windows 10's SDK and Wine lay it out: each
// element also holds MaxVersionTested, which mingw-w64's header lacks.
struct CompatibilityElement {
  GUID Id;
  ACTCTX_COMPATIBILITY_ELEMENT_TYPE Type;
  ULONGLONG MaxVersionTested;
};
struct CompatibilityInformation {
  DWORD ElementCount;
  CompatibilityElement Elements[1];
};

class ProgramManifest : public ::testing::TestWithParam<Program> {
 protected:
  std::string Path() const { return BuildOutputPath(GetParam().path); }

  // The activation context of the program's manifest resource 1.
  UniqueActCtx Context() const {
    const std::string path = Path();
    ACTCTXA request = {};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = path.c_str();
    request.lpResourceName = MAKEINTRESOURCEA(1);
    return UniqueActCtx(CreateActCtxA(&request));
  }

  // A windowsSettings value of the manifest; "" when it has none.
  static std::wstring Setting(HANDLE context, const wchar_t* nameSpace, const wchar_t* name) {
    wchar_t value[64] = {};
    SIZE_T written = 0;
    if (!QueryActCtxSettingsW(0, context, nameSpace, name, value, ARRAYSIZE(value), &written)) return L"";
    return value;
  }
};

TEST_P(ProgramManifest, IsResourceOneOfTheProgram) {
  const UniqueModule module(
      LoadLibraryExA(Path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(module) << Path();
  HRSRC resource = FindResourceA(module.get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
  ASSERT_TRUE(resource) << GetParam().name << " has no manifest";
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(module.get(), resource)));
  const std::string manifest(bytes, SizeofResource(module.get(), resource));
  // Named after the program it is in.
  EXPECT_NE(manifest.find(std::string("name=\"Orbisk.") + GetParam().name + "\""), std::string::npos)
      << manifest;
}

TEST_P(ProgramManifest, SetsCodePageAndDpiAwareness) {
  const UniqueActCtx context = Context();
  ASSERT_TRUE(context) << GetParam().name << ": no activation context, error " << GetLastError();
  EXPECT_EQ(
      Setting(context.get(), L"http://schemas.microsoft.com/SMI/2019/WindowsSettings", L"activeCodePage"),
      L"ja-JP");
  EXPECT_EQ(Setting(context.get(), L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"),
            L"true");
  EXPECT_EQ(Setting(context.get(), L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
            L"system");
}

TEST_P(ProgramManifest, RunsAsInvokerOnWindows10And11) {
  const UniqueActCtx context = Context();
  ASSERT_TRUE(context) << GetParam().name;
  ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel = {};
  ASSERT_TRUE(QueryActCtxW(0, context.get(), nullptr, RunlevelInformationInActivationContext, &runLevel,
                           sizeof runLevel, nullptr));
  EXPECT_EQ(runLevel.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
  EXPECT_FALSE(runLevel.UiAccess);

  std::vector<ULONGLONG> buffer(128);
  ASSERT_TRUE(QueryActCtxW(0, context.get(), nullptr, CompatibilityInformationInActivationContext,
                           buffer.data(), buffer.size() * sizeof buffer[0], nullptr));
  const auto* compatibility = reinterpret_cast<const CompatibilityInformation*>(buffer.data());
  bool windows10 = false;
  for (DWORD i = 0; i < compatibility->ElementCount; ++i) {
    windows10 |= compatibility->Elements[i].Type == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS &&
                 IsEqualGUID(compatibility->Elements[i].Id, kWindows10And11);
  }
  EXPECT_TRUE(windows10);
}

// Under the program's context comctl32.dll is redirected to the side-by-side
// assembly of version 6: the themed common controls.
TEST_P(ProgramManifest, BringsCommonControlsSix) {
  const UniqueActCtx context = Context();
  ASSERT_TRUE(context) << GetParam().name;
  ULONG_PTR cookie = 0;
  ASSERT_TRUE(ActivateActCtx(context.get(), &cookie));
  ACTCTX_SECTION_KEYED_DATA redirection = {};
  redirection.cbSize = sizeof redirection;
  const bool redirected = FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                                   L"comctl32.dll", &redirection) != FALSE;
  DeactivateActCtx(0, cookie);
  ASSERT_TRUE(redirected) << GetParam().name << ": comctl32.dll not redirected";

  // The assembly it is redirected to.
  std::vector<ULONGLONG> buffer(512);
  DWORD index = redirection.ulAssemblyRosterIndex;
  ASSERT_TRUE(QueryActCtxW(0, context.get(), &index, AssemblyDetailedInformationInActivationContext,
                           buffer.data(), buffer.size() * sizeof buffer[0], nullptr));
  const auto* assembly =
      reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(buffer.data());
  const std::wstring identity(assembly->lpAssemblyEncodedAssemblyIdentity,
                              assembly->ulEncodedAssemblyIdentityLength / sizeof(wchar_t));
  // 6.0.0.0 asked for binds to the newest 6.x installed.
  EXPECT_EQ(identity.rfind(L"Microsoft.Windows.Common-Controls,", 0), 0u) << ToAnsi(identity);
  EXPECT_NE(identity.find(L"version=\"6."), std::wstring::npos) << ToAnsi(identity);
}

INSTANTIATE_TEST_SUITE_P(EveryProgram, ProgramManifest, ::testing::ValuesIn(kPrograms),
                         [](const ::testing::TestParamInfo<Program>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
