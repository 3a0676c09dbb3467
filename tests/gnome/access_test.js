// The extension's rules of who may ask what, outside the shell:
//   gjs access_test.js EXTENSION_DIR

imports.searchPath.unshift(ARGV[0]);
const Access = imports.access;

let failures = 0;
function check(name, actual, expected) {
    const same = JSON.stringify(actual) === JSON.stringify(expected);
    print(`${same ? 'ok' : 'FAILED'} - ${name}`);
    if (!same) {
        printerr(`  expected ${JSON.stringify(expected)}, got ${JSON.stringify(actual)}`);
        failures++;
    }
}

// Only the installed program: its path, and the very file there.
const installed = {device: 2049, inode: 131};
const program = path => ({path, ...installed});
check('the installed program is served', Access.callerAllowed(program('/usr/bin/morvaths-skellimor'), installed),
    true);
check('a build of it elsewhere is not',
    Access.callerAllowed({path: '/home/u/build/linux/window/morvaths-skellimor', device: 2049, inode: 977}, installed),
    false);
check('a replaced executable is not', Access.callerAllowed(program('/usr/bin/morvaths-skellimor (deleted)'), installed),
    false);
check('another file shown at the path (another mount namespace) is not',
    Access.callerAllowed({path: '/usr/bin/morvaths-skellimor', device: 43, inode: 131}, installed), false);
check('nor one of another inode on the same device',
    Access.callerAllowed({path: '/usr/bin/morvaths-skellimor', device: 2049, inode: 132}, installed), false);
check('an unknown caller is not', Access.callerAllowed(null, installed), false);
check('nobody while the program is not installed', Access.callerAllowed(program('/usr/bin/morvaths-skellimor'), null),
    false);
check('a script interpreter is not', Access.callerAllowed(program('/usr/bin/gjs-console'), installed), false);

// Only viewer windows.
check('a viewer title is served', Access.titleAllowed('Webcam for alice'), true);
check('another window is not', Access.titleAllowed('Terminal'), false);
check('the prefix must open the title', Access.titleAllowed('My Webcam for alice'), false);
check('the prefix is matched case and all', Access.titleAllowed('webcam for alice'), false);
check('a title that is no text is not', Access.titleAllowed(undefined), false);

const windows = [
    {id: 3, title: 'Webcam for alice2'},
    {id: 5, title: 'Webcam for alice'},
    {id: 7, title: 'Webcam for alice'},
];
check('the first of the exact titles is found', Access.firstTitled(windows, 'Webcam for alice').id, 5);
check('a title that only begins the same is not found', Access.firstTitled(windows, 'Webcam for ali'), null);

// Only pixels inside the viewer's frame.
const frame = {x: 100, y: 50, width: 400, height: 300};
check('the camera inside the frame', Access.areaInside({x: 126, y: 94, width: 322, height: 242}, frame), true);
check('the whole frame', Access.areaInside({x: 100, y: 50, width: 400, height: 300}, frame), true);
check('one pixel past the right edge', Access.areaInside({x: 101, y: 50, width: 400, height: 300}, frame), false);
check('one pixel above the frame', Access.areaInside({x: 100, y: 49, width: 10, height: 10}, frame), false);
check('an empty area', Access.areaInside({x: 100, y: 50, width: 0, height: 10}, frame), false);
check('a negative size', Access.areaInside({x: 200, y: 100, width: -5, height: 10}, frame), false);
check('fractions', Access.areaInside({x: 100.5, y: 50, width: 10, height: 10}, frame), false);

// The crop in the window's picture, whose corner may lie off the frame's (shadows, invisible borders).
check('the crop counts from the picture\'s corner',
    Access.cropFromPicture({x: 126, y: 94, width: 322, height: 242}, {x: 90, y: 40}, 420, 320),
    {x: 36, y: 54, width: 322, height: 242});
check('an area past the picture has no crop',
    Access.cropFromPicture({x: 126, y: 94, width: 322, height: 242}, {x: 90, y: 40}, 357, 320), null);
check('an area before the picture has no crop',
    Access.cropFromPicture({x: 80, y: 94, width: 10, height: 10}, {x: 90, y: 40}, 420, 320), null);

imports.system.exit(failures === 0 ? 0 : 1);
