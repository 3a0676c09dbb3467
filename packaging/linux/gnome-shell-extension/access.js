// The rules of who may ask what: plain functions with no access to the shell, so
// that they are tested outside it.
/* exported PROGRAM, VIEWER_TITLE_PREFIX, callerAllowed, titleAllowed, firstTitled, areaInside, cropFromPicture */

// The only executable the extension answers: the installed program.
var PROGRAM = '/usr/bin/morvaths-skellimor';
// Only viewer windows are found or read.
var VIEWER_TITLE_PREFIX = 'Webcam for ';

// `caller` is the caller's executable as /proc/PID/exe shows it: {path, device,
// inode}; `installed` the device and inode of PROGRAM. The path alone is not
// enough: a program in a mount namespace of its own can show any file at any path
// (a deleted or replaced file reads as another path, " (deleted)" appended).
function callerAllowed(caller, installed) {
    return caller !== null && installed !== null && caller.path === PROGRAM &&
        caller.device === installed.device && caller.inode === installed.inode;
}

function titleAllowed(title) {
    return typeof title === 'string' && title.startsWith(VIEWER_TITLE_PREFIX);
}

// The first of `windows` ({title, ...}) titled exactly `title`, or null.
function firstTitled(windows, title) {
    return windows.find(window => window.title === title) ?? null;
}

// Whether `area` ({x, y, width, height}) is non-empty and lies wholly inside
// `frame`: only the viewer's own pixels are handed out.
function areaInside(area, frame) {
    const whole = [area.x, area.y, area.width, area.height].every(Number.isInteger);
    return whole && area.width > 0 && area.height > 0 &&
        area.x >= frame.x && area.y >= frame.y &&
        area.x + area.width <= frame.x + frame.width &&
        area.y + area.height <= frame.y + frame.height;
}

// Where `area` (screen pixels) lies in the picture the shell paints of the window,
// whose top-left corner is at `picture` on the screen; null where it is not wholly
// in the picture of `pictureWidth` x `pictureHeight`.
function cropFromPicture(area, picture, pictureWidth, pictureHeight) {
    const x = area.x - picture.x;
    const y = area.y - picture.y;
    if (x < 0 || y < 0 || x + area.width > pictureWidth || y + area.height > pictureHeight)
        return null;
    return {x, y, width: area.width, height: area.height};
}
