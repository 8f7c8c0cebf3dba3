'use strict';
// Test probe of the web page (added to a copy of index.html by page_test.sh, never
// shipped): runs the page on a fixed clock step, reads pixels of the drawn frames
// back inside the page and writes what it saw into <pre id="probe">, with each
// checked frame as a PNG (data URL) for the test's comparison with the native
// pictures, and the input the native capture needs to draw the same frames.
//
// The page's address picks the scenario: index.html plays the desktop one, in which
// the probe itself clicks "start", moves the mouse, types the hidden hunt's keys and
// presses Escape (read through
// chromium's --dump-dom); #phone plays it by touch alone, the probe stopping the
// show's clock at each action for browser.py, which works the phone's screen over
// the DevTools protocol (window.zwProbe).
(function () {
  var frameRate = 60;
  // At clock time `at` (seconds), pixel (x, y) of the 640 x 480 picture (top-left
  // origin) must be within `tolerance` of `rgb` on every channel.
  // Expected colours are those of the native capture at the same clock times.
  var evening = [
    { at: 3.01, x: 2, y: 2, rgb: [235, 177, 0], tolerance: 2, what: 'evening sky' },
    { at: 3.01, x: 320, y: 240, rgb: [221, 53, 8], tolerance: 8, what: 'the sun' },
    { at: 17.51, x: 2, y: 2, rgb: [47, 106, 195], tolerance: 2, what: 'day sky' },
  ];
  function outro(at) {
    return [
      { at: at, x: 2, y: 2, rgb: [181, 147, 39], tolerance: 4, what: 'outro sky' },
      { at: at, x: 600, y: 450, rgb: [181, 147, 39], tolerance: 4, what: 'outro sky, bottom' },
    ];
  }
  // The hidden hunt is unlocked by these keys, typed from `at` on, one a frame apart;
  // its birds fly from 31 s.
  function huntKeys(at) {
    return 'JAEGER'.split('').map(function (letter, i) {
      return { at: at + i / frameRate, act: typeKey, key: letter, input: ['key ' + letter] };
    });
  }
  // Each action is also what the native capture gets (`input`, events of its
  // script) to draw the same frames. Picture pixels, top-left origin.
  var scenarios = {
    desktop: {
      checks: evening.concat([
        { at: 26.01, x: 200, y: 8, rgb: [60, 92, 223], tolerance: 4, what: 'invitation panel' },
        { at: 26.01, x: 620, y: 8, rgb: [47, 106, 195], tolerance: 2, what: 'day sky beside the panel' },
      ], outro(39.01)),
      actions: [
        // The window is wider than 4:3, so the canvas is scaled and has bars beside it.
        { at: 23, act: movePointer, x: 160, y: 360, input: ['mouse 160 360'] },
      ].concat(huntKeys(27), [
        { at: 36, act: pressEscape, input: ['key escape'] },
      ]),
      // Whole frames kept for the comparison with the native pictures: also while the
      // logo wobbles (15 to 16.5 s) and while the hunt's birds fly, both drawn from the
      // show's own random numbers.
      compareAt: [3.01, 15.61, 16.21, 26.01, 34.01, 35.51, 39.01],
    },
    phone: {
      checks: evening.concat(outro(30.01)),
      actions: [
        { at: 10, what: 'pinch', target: 'bar', act: checkStill },
        { at: 25, what: 'finger down', x: 320, y: 476, input: ['mouse 320 476', 'button down'] },
        { at: 26, what: 'finger up', x: 320, y: 476, input: ['button up'] },
        { at: 27, what: 'tap', target: 'escape-key', input: ['key escape'] },
      ],
      compareAt: [3.01, 15.61, 26.01, 30.01],
    },
  };

  var phone = location.hash === '#phone';
  var scenario = scenarios[phone ? 'phone' : 'desktop'];
  var checks = scenario.checks;
  var actions = scenario.actions;
  var compareAt = scenario.compareAt;
  var out = document.createElement('pre');
  out.id = 'probe';
  document.body.appendChild(out);
  var lines = [];
  var failed = 0;
  var next = 0;
  var nextAction = 0;
  var keptFrames = 0;
  var firstFrameChecked = false;
  var finished = false;
  var resumeShow = null;  // the show's next frame, held while browser.py acts

  function report(line) {
    lines.push(line);
    out.textContent = lines.join('\n') + '\n';
  }

  function verdict(ok, what) {
    if (!ok) failed++;
    report((ok ? 'ok   ' : 'FAIL ') + what);
  }

  function finish() {
    if (finished) return;
    finished = true;
    report(failed === 0 && next === checks.length && nextAction === actions.length ? 'probe: pass' : 'probe: FAIL');
    window.zwProbe.finished = true;
  }

  function pixel(gl, x, y) {
    var rgba = new Uint8Array(4);
    gl.readPixels(x, gl.drawingBufferHeight - 1 - y, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, rgba);
    return [rgba[0], rgba[1], rgba[2]];
  }

  function near(a, b, tolerance) {
    return a.every(function (value, i) { return Math.abs(value - b[i]) <= tolerance; });
  }

  // The frame as it is drawn now (before the browser shows and clears it).
  function keepFrame(at) {
    var frame = document.createElement('img');
    frame.className = 'frame';
    frame.setAttribute('data-at', String(at));
    frame.src = Module.canvas.toDataURL('image/png');
    document.body.appendChild(frame);
  }

  function check(c, seconds) {
    var gl = Module.canvas.getContext('webgl') || Module.canvas.getContext('webgl2');
    var seen = pixel(gl, c.x, c.y);
    verdict(near(seen, c.rgb, c.tolerance), c.what + ' at ' + seconds.toFixed(3) + ' s, pixel ' + c.x + ',' + c.y +
            ': ' + seen.join(',') + ' (expected ' + c.rgb.join(',') + ' +-' + c.tolerance + ')');
  }

  // Window position of picture pixel (x, y), or the middle of a page element.
  function windowPoint(a) {
    var box;
    if (a.target === 'bar') {  // the black beside or below the picture, away from the buttons
      box = Module.canvas.getBoundingClientRect();
      return box.top > 40 ? { x: innerWidth / 2, y: box.top / 2 } : { x: box.left / 2, y: innerHeight / 2 };
    }
    if (a.target) {
      box = document.getElementById(a.target).getBoundingClientRect();
      return { x: box.left + box.width / 2, y: box.top + box.height / 2 };
    }
    box = Module.canvas.getBoundingClientRect();
    return { x: box.left + (a.x + 0.5) * box.width / 640, y: box.top + (a.y + 0.5) * box.height / 480 };
  }

  // A key as a keyboard sends it (SDL reads keyCode and code): Escape or a letter.
  function key(type, name) {
    var escape = name === 'Escape';
    var code = escape ? 27 : name.charCodeAt(0);
    var event = new KeyboardEvent(type, { key: escape ? name : name.toLowerCase(), code: escape ? name : 'Key' + name,
                                          bubbles: true, cancelable: true });
    Object.defineProperty(event, 'keyCode', { get: function () { return code; } });
    Object.defineProperty(event, 'which', { get: function () { return code; } });
    window.dispatchEvent(event);
  }

  function pressEscape() {
    key('keydown', 'Escape');
    key('keyup', 'Escape');
  }

  function typeKey(a) {
    key('keydown', a.key);
    key('keyup', a.key);
  }

  // A mouse move as the browser sends it.
  function movePointer(a) {
    var at = windowPoint(a);
    var box = Module.canvas.getBoundingClientRect();
    var init = { clientX: at.x, clientY: at.y, bubbles: true };
    Module.canvas.dispatchEvent(new MouseEvent('mouseenter', init));
    Module.canvas.dispatchEvent(new MouseEvent('mousemove', init));
    report('pointer to ' + a.x + ',' + a.y + ' at window ' + at.x.toFixed(1) + ',' + at.y.toFixed(1) +
           ' (canvas ' + box.width + ' x ' + box.height + ' at ' + box.left + ',' + box.top + ')');
  }

  // Fingers never move the page: no scrolling, no zoom.
  function checkStill() {
    var scale = window.visualViewport ? visualViewport.scale : 1;
    verdict(scrollX === 0 && scrollY === 0 && scale === 1,
            'the page stays put under the fingers (scroll ' + scrollX + ',' + scrollY + ', zoom ' + scale + ')');
  }

  // The whole picture is on the screen, at 4:3, as large as the screen allows.
  function checkPictureFits() {
    var box = Module.canvas.getBoundingClientRect();
    var inside = box.left >= 0 && box.top >= 0 && box.right <= innerWidth + 0.5 && box.bottom <= innerHeight + 0.5;
    var fourByThree = Math.abs(box.width * 3 - box.height * 4) <= 4;
    var fills = Math.abs(box.width - innerWidth) <= 1 || Math.abs(box.height - innerHeight) <= 1;
    verdict(inside && fourByThree && fills, 'the whole picture in the ' + innerWidth + ' x ' + innerHeight +
            ' window: ' + box.width.toFixed(1) + ' x ' + box.height.toFixed(1) + ' at ' + box.left.toFixed(1) +
            ',' + box.top.toFixed(1));
  }

  // The viewer must see the show, not the start overlay, once it runs.
  function checkFirstFrame() {
    verdict(getComputedStyle(document.getElementById('overlay')).display === 'none',
            'the start overlay is gone once the show runs');
    checkPictureFits();
  }

  // Phone: browser.py performs zwProbe.pending, then calls zwProbe.done().
  function handOver(a, seconds) {
    var at = windowPoint(a);
    window.zwProbe.pending = { what: a.what, x: at.x, y: at.y };
    window.zwProbe.done = function () {
      window.zwProbe.pending = null;
      report(a.what + ' at ' + seconds.toFixed(3) + ' s, window ' + at.x.toFixed(1) + ',' + at.y.toFixed(1));
      if (a.act) a.act(a);
      var resume = resumeShow;
      resumeShow = null;
      if (resume) resume();
    };
  }

  function act(a, seconds) {
    if (phone && a.what) {
      handOver(a, seconds);
      return true;  // the show waits
    }
    a.act(a);
    if (a.act === pressEscape) report('escape at ' + seconds.toFixed(3) + ' s');
    return false;
  }

  // The page hands an action to the program after the frame at its time, so the
  // program reads it in the next frame; the capture reads an event in the first
  // frame at or after its time: half a frame later is that same next frame.
  function reportInput(a) {
    var at = (a.at + 0.5 / frameRate).toFixed(4);
    (a.input || []).forEach(function (event) { report('input: ' + at + ' ' + event); });
  }

  window.zwProbe = { pending: null, finished: false };
  actions.forEach(reportInput);
  report('compare at: ' + compareAt.join(','));

  Module.zwFixedFrameRate = frameRate;
  // A timer, not the animation frame: headless chromium's virtual time runs timers.
  // Once everything is checked the program is left waiting, so the page goes idle.
  Module.zwNextFrame = function (wakeUp) {
    if (finished) return;
    if (window.zwProbe.pending) resumeShow = wakeUp;
    else setTimeout(wakeUp, 0);
  };

  Module.zwFrameDrawn = function (seconds) {
    if (!firstFrameChecked) {
      firstFrameChecked = true;
      checkFirstFrame();
    }
    while (keptFrames < compareAt.length && seconds >= compareAt[keptFrames]) keepFrame(compareAt[keptFrames++]);
    while (next < checks.length && seconds >= checks[next].at) check(checks[next++], seconds);
    while (nextAction < actions.length && seconds >= actions[nextAction].at) {
      if (act(actions[nextAction++], seconds)) break;
    }
    if (next === checks.length && nextAction === actions.length && !window.zwProbe.pending) finish();
  };
  Module.zwProgramEnded = finish;

  function startWhenReady() {
    var overlay = document.getElementById('overlay');
    if (!overlay.classList.contains('ready')) {
      setTimeout(startWhenReady, 20);
    } else if (phone) {
      handOver({ what: 'tap', target: 'overlay' }, 0);
    } else {
      report('start click');
      overlay.click();
    }
  }
  startWhenReady();
})();
