// Tells Corvane which application has the focus: whenever the focused window changes, its
// application id (the Wayland app_id or the X11 WM_CLASS class, else the desktop entry's
// id) goes to the window program's session-bus method. Calls are fire-and-forget and never
// start anything; without a running window program they go nowhere.
const { Gio, GLib, Shell } = imports.gi;

const BUS_NAME = 'example.corvane.Corvane';
const OBJECT_PATH = '/example/corvane/Corvane';
const INTERFACE = 'example.corvane.Corvane1';

class CorvaneFocus {
    enable() {
        this._tracker = Shell.WindowTracker.get_default();
        this._focusId = global.display.connect('notify::focus-window', () => this._report());
        this._report();
    }

    disable() {
        if (this._focusId) {
            global.display.disconnect(this._focusId);
        }
        this._focusId = 0;
        this._tracker = null;
    }

    _appId(window) {
        const wmClass = window.get_wm_class();
        if (wmClass) {
            return wmClass;
        }
        const app = this._tracker.get_window_app(window);
        const id = app ? app.get_id() : null;
        return id ? id.replace(/\.desktop$/, '') : '';
    }

    _report() {
        const window = global.display.focus_window;
        if (!window) {
            return;
        }
        Gio.DBus.session.call(BUS_NAME, OBJECT_PATH, INTERFACE, 'ReportActiveApplication',
            new GLib.Variant('(s)', [this._appId(window)]), null,
            Gio.DBusCallFlags.NO_AUTO_START, -1, null, null);
    }
}

function init() {
    return new CorvaneFocus();
}
