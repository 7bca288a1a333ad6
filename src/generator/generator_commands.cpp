#include "generator/generator_commands.h"

#include "generator/generation_command.h"
#include "ui/control_ids.h"

namespace generator {

namespace {

// The signature has no place in an iconic or Mersenne number, and each of the
// two modes hides the other's box; hiding keeps every state and text.
void showUnless(ui::Controls& controls, bool hidden, std::initializer_list<int> ids)
{
    for (int control : ids)
        controls.setVisible(control, !hidden);
}

void iconicToggled(shell::AppContext& ctx)
{
    using namespace ui::ControlId;
    showUnless(ctx.controls, ctx.controls.checked(Iconic),
               {Signature, Mersenne, SignaturePaste, SignatureCopy, SignatureClear});
}

void mersenneToggled(shell::AppContext& ctx)
{
    using namespace ui::ControlId;
    showUnless(ctx.controls, ctx.controls.checked(Mersenne),
               {Signature, IconicDigit, Iconic, SignaturePaste, SignatureCopy, SignatureClear});
}

}  // namespace

void registerGeneratorCommands(shell::Dispatcher& dispatcher)
{
    dispatcher.on(ui::ControlId::StartGeneration, startGeneration);
    dispatcher.on(ui::ControlId::Iconic, iconicToggled);
    dispatcher.on(ui::ControlId::Mersenne, mersenneToggled);
}

}  // namespace generator
