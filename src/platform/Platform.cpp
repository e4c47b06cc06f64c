// The platform layer of the program (message boxes, the synchronous message event, program
// folder) lives beside this file; the message event is header-only (MessageEvent.h). This
// translation unit gives the program's widget library a source of its own until the first
// windows arrive.
namespace quarrant {
int PlatformLayerVersion() {
    return 1;
}
}  // namespace quarrant
