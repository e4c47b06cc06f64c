// The platform layer of the program: what stands in for the desktop framework the windows were
// designed against. Beside this file: the document templates (DocTemplate.h), command actions
// and the menus and toolbars built from tables (CommandActions.h), modal dialogs that tests can
// answer (ModalDialog.h), the shell's choosers and "open" verb (ShellDialogs.h), the program's
// font (ProgramFont.h), screen texts (QtText.h) and the synchronous message event
// (MessageEvent.h). Message boxes go through ShowMessage of Tesselix.
namespace quarrant {
int PlatformLayerVersion() {
    return 1;
}
}  // namespace quarrant
