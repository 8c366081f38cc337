// Tells Corvane which application has the focus: on every window activation, the window's
// resourceClass (the Wayland app_id, or the X11 WM_CLASS class) goes to the window
// program's session-bus method. Without a running window program the call goes nowhere.
function report(window) {
    if (!window) {
        return;
    }
    callDBus("example.corvane.Corvane", "/example/corvane/Corvane", "example.corvane.Corvane1",
             "ReportActiveApplication", String(window.resourceClass || ""));
}

if (workspace.windowActivated) {
    // Plasma 6
    workspace.windowActivated.connect(report);
    report(workspace.activeWindow);
} else {
    // Plasma 5
    workspace.clientActivated.connect(report);
    report(workspace.activeClient);
}
