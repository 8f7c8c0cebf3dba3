'use strict';
// Test probe of the web page (added to a copy of index.html by page_test.sh, never
// shipped): runs the page on a fixed clock step, clicks "start", presses Escape at
// a set time, reads pixels of the drawn frames back inside the page and writes what
// it saw into <pre id="probe">, which the test reads through chromium's --dump-dom,
// with each checked frame as a PNG (data URL) for the test's comparison with the
// native pictures.
(function () {
  var frameRate = 60;
  var escapeAt = 27;
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
    { at: 30.01, x: 2, y: 2, rgb: [181, 147, 39], tolerance: 4, what: 'outro sky' },
    { at: 30.01, x: 600, y: 450, rgb: [181, 147, 39], tolerance: 4, what: 'outro sky, bottom' },
  ];
  // Whole frames kept for the comparison with the native pictures. Not while the
  // logo is on screen: its wobble angle comes from the C library's rand(), whose
  // sequence differs between the native and the web C library.
  var compareAt = [3.01, 26.01, 30.01];
  var out = document.createElement('pre');
  out.id = 'probe';
  document.body.appendChild(out);
  var lines = [];
  var failed = 0;
  var next = 0;
  var keptFrames = 0;
  var overlayChecked = false;
  var escaped = false;
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

  // The Escape key as a keyboard sends it (SDL reads keyCode and code).
  function key(type) {
    var event = new KeyboardEvent(type, { key: 'Escape', code: 'Escape', bubbles: true, cancelable: true });
    Object.defineProperty(event, 'keyCode', { get: function () { return 27; } });
    Object.defineProperty(event, 'which', { get: function () { return 27; } });
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
    if (!escaped && seconds >= escapeAt) {
      escaped = true;
      key('keydown');
      key('keyup');
      report('escape at ' + seconds.toFixed(3) + ' s');
    }
    if (next === checks.length) finish();
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
