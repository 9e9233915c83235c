#pragma once
// Where the main window learns how to build each of its child windows.

namespace orvan::shell {

class MainWindow;

void registerWindows(MainWindow& main);

} // namespace orvan::shell
