#pragma once

namespace zendra::site {

// Ends one accepted connection at the TCP level, so the client sees it close without an
// answer; the server's own write then fails and it drops the connection.
void DropConnection(int socket) noexcept;

// Ends every accepted connection of this process on the given local port. The HTTP
// library parks a worker on each idle kept-alive connection until its time-out; a stop
// that waited for them would hang for seconds.
void DropConnectionsOnPort(int port) noexcept;

// The site writes to sockets whose peers may be gone; the default SIGPIPE would end
// the whole process. Installs the ignore disposition unless someone chose another.
void IgnoreBrokenPipes() noexcept;

}  // namespace zendra::site
