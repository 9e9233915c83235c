#pragma once
// Where the main window learns how to build each of its child windows.

namespace orvan::shell {

class MainWindow;

void registerWindows(MainWindow& main);

// The print command with the graph window as the graph report's source.
struct PrintCommand;
PrintCommand printCommand();

} // namespace orvan::shell
