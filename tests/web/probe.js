'use strict';
// Test probe of the web page (added to a copy of index.html by page_test.sh, never
// shipped): runs the page on a fixed clock step, clicks "start", types the hidden
// hunt's keys and presses Escape at set times, reads pixels of the drawn frames back inside the page and writes what
// it saw into <pre id="probe">, which the test reads through chromium's --dump-dom,
// with each checked frame as a PNG (data URL) for the test's comparison with the
// native pictures.
(function () {
  var frameRate = 60;
  // The hidden hunt is unlocked by these keys, typed from unlockAt on, one a frame
  // apart; its birds fly from 31 s.
  var unlockAt = 27;
  var unlockKeys = 'JAEGER';
  var escapeAt = 36;
  // The pointer is moved over the picture at this time to this picture pixel; the
  // window is wider than 4:3, so the canvas is scaled and has bars beside it.
  var pointer = { at: 23, x: 160, y: 360 };
  // At clock time `at` (seconds), pixel (x, y) of the 640 x 480 picture (top-left
  // origin) must be within `tolerance` of `rgb` on every channel.
  // Expected colours are those of the native capture at the same clock times.
  var checks = [
    { at: 3.01, x: 2, y: 2, rgb: [235, 177, 0], tolerance: 2, what: 'evening sky' },
    { at: 3.01, x: 320, y: 240, rgb: [221, 53, 8], tolerance: 8, what: 'the sun' },
    { at: 17.51, x: 2, y: 2, rgb: [47, 106, 195], tolerance: 2, what: 'day sky' },
    { at: 26.01, x: 200, y: 8, rgb: [60, 92, 223], tolerance: 4, what: 'invitation panel' },
    { at: 26.01, x: 620, y: 8, rgb: [47, 106, 195], tolerance: 2, what: 'day sky beside the panel' },
    { at: 39.01, x: 2, y: 2, rgb: [181, 147, 39], tolerance: 4, what: 'outro sky' },
    { at: 39.01, x: 600, y: 450, rgb: [181, 147, 39], tolerance: 4, what: 'outro sky, bottom' },
  ];
  // Whole frames kept for the comparison with the native pictures: also while the
  // logo wobbles (15 to 16.5 s) and while the hunt's birds fly, both drawn from the
  // show's own random numbers.
  var compareAt = [3.01, 15.61, 16.21, 26.01, 34.01, 35.51, 39.01];
  var out = document.createElement('pre');
  out.id = 'probe';
  document.body.appendChild(out);
  var lines = [];
  var failed = 0;
  var next = 0;
  var keptFrames = 0;
  var overlayChecked = false;
  var escaped = false;
  var typed = 0;
  var finished = false;

  function report(line) {
    lines.push(line);
    out.textContent = lines.join('\n') + '\n';
  }

  function finish() {
    if (finished) return;
    finished = true;
    report(failed === 0 && next === checks.length ? 'probe: pass' : 'probe: FAIL');
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
    var ok = near(seen, c.rgb, c.tolerance);
    if (!ok) failed++;
    report((ok ? 'ok   ' : 'FAIL ') + c.what + ' at ' + seconds.toFixed(3) + ' s, pixel ' + c.x + ',' + c.y +
           ': ' + seen.join(',') + ' (expected ' + c.rgb.join(',') + ' +-' + c.tolerance + ')');
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

  // A mouse move as the browser sends it, at the window position of picture pixel (x, y).
  function movePointer(x, y) {
    var box = Module.canvas.getBoundingClientRect();
    var at = { clientX: box.left + (x + 0.5) * box.width / 640, clientY: box.top + (y + 0.5) * box.height / 480,
               bubbles: true };
    Module.canvas.dispatchEvent(new MouseEvent('mouseenter', at));
    Module.canvas.dispatchEvent(new MouseEvent('mousemove', at));
    report('pointer to ' + x + ',' + y + ' at window ' + at.clientX.toFixed(1) + ',' + at.clientY.toFixed(1) +
           ' (canvas ' + box.width + ' x ' + box.height + ' at ' + box.left + ',' + box.top + ')');
  }

  Module.zwFixedFrameRate = frameRate;
  // A timer, not the animation frame: headless chromium's virtual time runs timers.
  // Once everything is checked the program is left waiting, so the page goes idle.
  Module.zwNextFrame = function (wakeUp) {
    if (!finished) setTimeout(wakeUp, 0);
  };
  // The viewer must see the show, not the start overlay, once it runs.
  function checkOverlayGone() {
    var shown = getComputedStyle(document.getElementById('overlay')).display !== 'none';
    if (shown) failed++;
    report((shown ? 'FAIL ' : 'ok   ') + 'the start overlay is gone once the show runs');
  }

  Module.zwFrameDrawn = function (seconds) {
    if (!overlayChecked) {
      overlayChecked = true;
      checkOverlayGone();
    }
    while (keptFrames < compareAt.length && seconds >= compareAt[keptFrames]) keepFrame(compareAt[keptFrames++]);
    while (next < checks.length && seconds >= checks[next].at) check(checks[next++], seconds);
    if (!pointer.moved && seconds >= pointer.at) {
      pointer.moved = true;
      movePointer(pointer.x, pointer.y);
    }
    if (typed < unlockKeys.length && seconds >= unlockAt + typed / frameRate) {
      key('keydown', unlockKeys[typed]);
      key('keyup', unlockKeys[typed]);
      if (++typed === unlockKeys.length) report('hunt keys typed by ' + seconds.toFixed(3) + ' s');
    }
    if (!escaped && seconds >= escapeAt) {
      escaped = true;
      key('keydown', 'Escape');
      key('keyup', 'Escape');
      report('escape at ' + seconds.toFixed(3) + ' s');
    }
    if (next === checks.length && keptFrames === compareAt.length) finish();
  };
  Module.zwProgramEnded = finish;

  function clickStartWhenReady() {
    var overlay = document.getElementById('overlay');
    if (overlay.classList.contains('ready')) {
      report('start click');
      overlay.click();
    } else {
      setTimeout(clickStartWhenReady, 20);
    }
  }
  clickStartWhenReady();
})();
