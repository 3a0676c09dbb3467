// Lets Morvath's Skellimor, and no other program, find a webcam viewer window by
// its title and read the camera picture from it: GNOME on Wayland gives programs
// outside the shell neither. One D-Bus object on the session bus, answered only
// while the extension is enabled.
/* exported init */

const {Gio, GLib, Shell} = imports.gi;
const ExtensionUtils = imports.misc.extensionUtils;
const Access = ExtensionUtils.getCurrentExtension().imports.access;

const BUS_NAME = 'example.morvath.skellimor.ShellExtension';
const OBJECT_PATH = '/example/morvath/skellimor/Viewers';
const INTERFACE_XML = `<node>
  <interface name="example.morvath.skellimor.Viewers">
    <method name="FindWindow">
      <arg type="s" name="title" direction="in"/>
      <arg type="t" name="window" direction="out"/>
      <arg type="(iiii)" name="frame" direction="out"/>
      <arg type="b" name="minimised" direction="out"/>
    </method>
    <method name="ReadPixels">
      <arg type="t" name="window" direction="in"/>
      <arg type="(iiii)" name="area" direction="in"/>
      <arg type="h" name="png" direction="in"/>
      <arg type="u" name="length" direction="out"/>
    </method>
  </interface>
</node>`;
const ACCESS_DENIED = 'org.freedesktop.DBus.Error.AccessDenied';
const FAILED = 'org.freedesktop.DBus.Error.Failed';
const BUS_TIMEOUT_MS = 2000;

// A call answered with a D-Bus error of this name.
class Refusal extends Error {
    constructor(name, message) {
        super(message);
        this.errorName = name;
    }
}

function windowsOnScreen() {
    return global.get_window_actors().map(actor => {
        const window = actor.get_meta_window();
        return {id: window.get_id(), title: window.get_title(), window, actor};
    });
}

// The device and inode of the file at `path`, following links (/proc/PID/exe
// leads to the very file the process runs); null where it cannot be read.
function fileIdentity(path) {
    try {
        const info = Gio.File.new_for_path(path).query_info('unix::device,unix::inode',
            Gio.FileQueryInfoFlags.NONE, null);
        return {device: info.get_attribute_uint32('unix::device'), inode: info.get_attribute_uint64('unix::inode')};
    } catch (e) {
        return null;
    }
}

// The executable of the process behind a bus connection: its path and identity.
function executableOf(sender, cancellable) {
    return new Promise((resolve, reject) => {
        Gio.DBus.session.call('org.freedesktop.DBus', '/org/freedesktop/DBus', 'org.freedesktop.DBus',
            'GetConnectionUnixProcessID', new GLib.Variant('(s)', [sender]), new GLib.VariantType('(u)'),
            Gio.DBusCallFlags.NONE, BUS_TIMEOUT_MS, cancellable, (connection, result) => {
                try {
                    const [pid] = connection.call_finish(result).deepUnpack();
                    const exe = `/proc/${pid}/exe`;
                    const identity = fileIdentity(exe);
                    resolve(identity && {path: GLib.file_read_link(exe), ...identity});
                } catch (e) {
                    reject(e);
                }
            });
    });
}

// The PNG of a part of a texture.
function pngOf(texture, crop) {
    const stream = Gio.MemoryOutputStream.new_resizable();
    return new Promise((resolve, reject) => {
        Shell.Screenshot.composite_to_stream(texture, crop.x, crop.y, crop.width, crop.height, 1,
            null, 0, 0, 1, stream, (_source, result) => {
                try {
                    Shell.Screenshot.composite_to_stream_finish(result);
                    stream.close(null);
                    resolve(stream.steal_as_bytes());
                } catch (e) {
                    reject(e);
                }
            });
    });
}

// The call's descriptor at `index`, taken out of the message so that no copy of it
// stays open until the message is collected; the others are closed. -1 if none.
function takeDescriptor(invocation, index) {
    const descriptors = invocation.get_message().get_unix_fd_list()?.steal_fds() ?? [];
    descriptors.forEach((fd, i) => {
        if (i !== index)
            GLib.close(fd);
    });
    return index < descriptors.length ? descriptors[index] : -1;
}

function writeAll(bytes, fd, cancellable) {
    const target = new Gio.UnixOutputStream({fd, close_fd: true});
    return new Promise((resolve, reject) => {
        target.splice_async(Gio.MemoryInputStream.new_from_bytes(bytes),
            Gio.OutputStreamSpliceFlags.CLOSE_SOURCE | Gio.OutputStreamSpliceFlags.CLOSE_TARGET,
            GLib.PRIORITY_DEFAULT, cancellable, (_stream, result) => {
                try {
                    target.splice_finish(result);
                    resolve();
                } catch (e) {
                    reject(e);
                }
            });
    });
}

// The methods of the D-Bus object. Every call first learns who asks; calls still
// running when the extension is disabled are cancelled.
class Viewers {
    constructor() {
        this._running = new Set();
    }

    cancelAll() {
        for (const cancellable of this._running)
            cancellable.cancel();
    }

    async _serve(invocation, answer) {
        const cancellable = new Gio.Cancellable();
        this._running.add(cancellable);
        try {
            const caller = await executableOf(invocation.get_sender(), cancellable).catch(() => null);
            if (!Access.callerAllowed(caller, fileIdentity(Access.PROGRAM))) {
                throw new Refusal(ACCESS_DENIED,
                    `Only ${Access.PROGRAM} may ask this; the caller is ${caller?.path ?? 'unknown'}.`);
            }
            await answer(cancellable);
        } catch (e) {
            invocation.return_dbus_error(e instanceof Refusal ? e.errorName : FAILED, e.message);
        } finally {
            this._running.delete(cancellable);
        }
    }

    FindWindowAsync([title], invocation) {
        return this._serve(invocation, () => {
            if (!Access.titleAllowed(title))
                throw new Refusal(ACCESS_DENIED, `Only windows titled "${Access.VIEWER_TITLE_PREFIX}…" are found.`);
            const found = Access.firstTitled(windowsOnScreen(), title);
            const frame = found ? found.window.get_frame_rect() : {x: 0, y: 0, width: 0, height: 0};
            invocation.return_value(new GLib.Variant('(t(iiii)b)', [
                found ? found.id : 0, [frame.x, frame.y, frame.width, frame.height],
                found ? found.window.minimized : false,
            ]));
        });
    }

    ReadPixelsAsync([id, [x, y, width, height], fdIndex], invocation) {
        return this._serve(invocation, async cancellable => {
            const found = windowsOnScreen().find(w => w.id === id);
            if (!found)
                throw new Refusal(FAILED, 'The webcam window is gone.');
            if (!Access.titleAllowed(found.title))
                throw new Refusal(ACCESS_DENIED, `Only windows titled "${Access.VIEWER_TITLE_PREFIX}…" are read.`);
            if (found.window.minimized)
                throw new Refusal(FAILED, 'The webcam window is minimised.');
            const area = {x, y, width, height};
            if (!Access.areaInside(area, found.window.get_frame_rect()))
                throw new Refusal(ACCESS_DENIED, 'Only pixels inside the webcam window are read.');

            // The window's own picture, as the shell paints it alone: whole even where
            // other windows cover it.
            const texture = found.actor.paint_to_content(null)?.get_texture();
            if (!texture)
                throw new Refusal(FAILED, 'GNOME Shell did not paint the webcam window.');
            const [left, top] = found.actor.get_position();
            const crop = Access.cropFromPicture(area, {x: left, y: top}, texture.get_width(), texture.get_height());
            if (!crop || texture.get_width() !== Math.round(found.actor.get_width()))
                throw new Refusal(FAILED, 'The webcam window is drawn at another scale than the screen.');
            const png = await pngOf(texture, crop);
            const fd = takeDescriptor(invocation, fdIndex);
            if (fd < 0)
                throw new Refusal(FAILED, 'No file descriptor came with the call.');
            // The length first: the caller reads that much, whoever else holds the pipe.
            invocation.return_value(new GLib.Variant('(u)', [png.get_size()]));
            await writeAll(png, fd, cancellable).catch(() => {});
        });
    }
}

class Extension {
    enable() {
        this._viewers = new Viewers();
        this._object = Gio.DBusExportedObject.wrapJSObject(INTERFACE_XML, this._viewers);
        this._object.export(Gio.DBus.session, OBJECT_PATH);
        this._nameId = Gio.bus_own_name_on_connection(Gio.DBus.session, BUS_NAME, Gio.BusNameOwnerFlags.NONE,
            null, null);
    }

    disable() {
        Gio.bus_unown_name(this._nameId);
        this._object.unexport();
        this._viewers.cancelAll();
        this._nameId = 0;
        this._object = null;
        this._viewers = null;
    }
}

function init() {
    return new Extension();
}
