// The main window as the user left it: size and position, the splitter between the
// panes, and each pane's column widths and order, kept across runs in section [Window]
// of settings.set (keys Maximized, Geometry, Layout, Splitter, Frame1Columns,
// Frame2Columns).
#pragma once

class IniFile;
class Settings;
class TFMain;

class WindowState {
public:
    WindowState(Settings& settings, TFMain& window);

    // Before the window is first shown: geometry and columns; the splitter once the
    // window has its size (when the layout is still the one it was left in).
    void restore();
    // At exit: writes [Window] and saves the file. False when it could not be written.
    bool save();

private:
    void restoreSplitter();

    Settings& m_settings;
    IniFile& m_file;
    TFMain& m_window;
};
