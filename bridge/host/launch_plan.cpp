#include "bridge/host/launch_plan.h"

#include "common/text_util.h"

LaunchPlan PlanLaunch(const ItemRecord& item, const PageFacts16& facts, const Clock& clock,
                      const LaunchSystem& system) {
  const std::string path = TrimBlanks(item.AplPath);
  LaunchPlan plan;
  plan.application = system.ansiToUtf16(path);
  plan.folder = system.ansiToUtf16(GetFolderPart(path));
  plan.title = system.ansiToUtf16(ReplaceAll(TrimBlanks(item.ItemName), "&", ""));
  // The loader keeps the style within 0 to 3; anything else is a normal window.
  plan.showWindow = item.WindowStyle >= 0 && item.WindowStyle <= 3 ? item.WindowStyle : 1;
  plan.confirm = item.ConfCmdLine == 1;

  ArgumentPieces pieces = SubstituteArgumentsAsData(system.ansiToUtf16(item.Argments), facts, clock);
  const ProgramKind kind = system.kindOf(plan.application);
  if (IsOrbiskLauncher(kind)) {
    for (std::size_t i = 0; i < pieces.values.size(); ++i) {
      if (pieces.fromPage[i]) pieces.values[i] = system.asCodePageHoldsIt(pieces.values[i]);
    }
  }
  LineEnvironment environment;
  environment.systemAnsi = system.systemAnsi;
  if (kind == ProgramKind::Batch) {
    environment.systemCmd = system.systemCmd();
    environment.batchFileText = system.batchFileText(plan.application);
  }
  CommandLine line = BuildCommandLine(plan.application, kind, pieces, environment);
  plan.application = std::move(line.application);
  plan.commandLine = std::move(line.text);
  plan.refusal = line.refusal;
  return plan;
}
