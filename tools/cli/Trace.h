#pragma once
// What orvanlog-cli lets through of Qt's messages: a failure is one line of ours on stderr, so
// Qt's own warnings (a missing runtime folder, the offscreen platform's font look-ups) stay off
// it; --trace adds every byte the link sends and receives, one frame or read a line.

namespace orvan::cli {

// Installs the message handler; main calls it before anything can print.
void installMessageHandler();

// Turns the link's byte log on for the rest of the run, whatever the logging rules of the
// environment say: "/dev/pts/3 -> ea" for a frame sent, "/dev/pts/3 <- 14" for bytes received.
void startByteTrace();

} // namespace orvan::cli
