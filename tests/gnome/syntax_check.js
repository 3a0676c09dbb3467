// Compiles each JavaScript file named on the command line, as GNOME Shell's
// legacy module loader would, without running it: the first syntax error fails.
//   gjs syntax_check.js FILE...

const {GLib} = imports.gi;
const decoder = new TextDecoder();

let failed = false;
for (const path of ARGV) {
    const [, bytes] = GLib.file_get_contents(path);
    try {
        new Function(decoder.decode(bytes));  // eslint-disable-line no-new-func
    } catch (e) {
        printerr(`${path}: ${e.name}: ${e.message} (line ${e.lineNumber})`);
        failed = true;
    }
}
imports.system.exit(failed ? 1 : 0);
