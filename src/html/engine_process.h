#pragma once
// The web engine's process flags, which it reads when it starts and which must be set before the
// application object exists. They are set in every start (whether a document comes or not), by
// the program itself: the engine's library is loaded only later, with the HTML module.
namespace vitrina {

// No host name or address is ever resolved and a peer connection sends no datagram, so nothing
// the request interceptor does not see, like a preconnect, reaches the network; without its
// sandbox when asked, as root must. software: the engine and Qt's scene graph draw without
// OpenGL (see platform/software_drawing.h).
void PrepareEngineProcess(bool withoutSandbox, bool software = false);

}  // namespace vitrina
