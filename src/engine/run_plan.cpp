// Between the plan and the real run: the mass-deletion guard, and the
// preview that ends the run with nothing changed.
#include "base/exception.h"
#include "engine/data_module.h"
#include "engine/run_history.h"
#include "engine/run_preview.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "settings/settings_registry.h"

namespace kestro {

bool PreviewOnly() { return platform::GetEnv("KESTRO_DRY_RUN").has_value(); }

bool TDataModule1::GoAhead(const RunReport& plan) {
  const bool allowed = platform::GetEnv("KESTRO_ALLOW_MASS_DELETION").value_or("") == "1";
  const std::string problem = allowed ? std::string() : MassDeletionProblem(plan, ReadMassDeletionLimit());
  if (auto preview = platform::GetEnv("KESTRO_DRY_RUN")) {
    std::string text = RunDetailText(plan);
    if (!problem.empty()) text += "# " + problem + "\n";
    if (!platform::WriteFileAtomically(*preview, text)) {
      throw Exception("Cannot write the preview to \"" + *preview + "\"");
    }
    return false;
  }
  if (!problem.empty()) throw Exception(problem);
  return true;
}

}  // namespace kestro
