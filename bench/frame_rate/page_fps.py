#!/usr/bin/env python3
"""Frames per second of the web page on the real clock, part by part of the show.

usage: page_fps.py PAGE_DIR [--profile FROM TO]

Serves PAGE_DIR on 127.0.0.1, opens it in headless chromium on SwiftShader
(software WebGL) and drives it over the DevTools protocol (a pipe, no port):
clicks "start", presses Escape at show second 40 and lets the outro play to
second 56. Frames are counted by a requestAnimationFrame loop of the benchmark's
own, put into the page before any of the page's code; the page's frame hook only
tells when the show's clock started, so that frames fall into the show's parts.
For each part it prints the frames per second and the CPU time per frame of
chromium's processes (the page's JavaScript and WebAssembly run in the renderer,
SwiftShader in the GPU process).

--profile FROM TO: records a JavaScript CPU profile of the page between those
show seconds and prints where the renderer's time went (the profile slows the
page down: the table of that run does not count).
"""
import fcntl
import functools
import http.server
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

PARTS = [('evening', 0, 16), ('day', 16, 24), ('text panel', 24, 40), ('outro', 40, 56)]
ESCAPE_AT = 40
END_AT = 56
WINDOW = (1024, 768)

# Every animation frame's time, from before the page's own code runs.
FRAME_COUNTER = """
window.zwBenchFrames = [];
(function count(time) {
  window.zwBenchFrames.push(time);
  requestAnimationFrame(count);
})(0);
"""

# The show's clock zero in the page's time, from the first frame the program draws.
SHOW_ZERO_HOOK = """
Module.zwFrameDrawn = function (clockSeconds) {
  window.zwBenchShowZero = performance.now() - clockSeconds * 1000;
  delete Module.zwFrameDrawn;
};
"""


class DevTools:
    """The DevTools protocol over chromium's --remote-debugging-pipe (fds 3 and 4)."""

    def __init__(self, arguments):
        to_browser = os.pipe()
        from_browser = os.pipe()
        # Above 4, so that the shell can put them on 3 and 4 without a clash.
        reads = fcntl.fcntl(to_browser[0], fcntl.F_DUPFD, 10)
        writes = fcntl.fcntl(from_browser[1], fcntl.F_DUPFD, 10)
        shell = 'exec 3<&%d 4>&%d %d<&- %d>&-; exec "$@"' % (reads, writes, reads, writes)
        self.process = subprocess.Popen(['bash', '-c', shell, 'bash', 'chromium'] + arguments, pass_fds=(reads, writes),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for fd in (reads, writes, to_browser[0], from_browser[1]):
            os.close(fd)
        self.out = to_browser[1]
        self.answers = {}
        self.arrived = threading.Condition()
        self.next_id = 0
        threading.Thread(target=self._read, args=(from_browser[0],), daemon=True).start()

    def _read(self, fd):
        pending = b''
        while True:
            chunk = os.read(fd, 1 << 16)
            if not chunk:
                return
            pending += chunk
            *messages, pending = pending.split(b'\0')
            for raw in messages:
                message = json.loads(raw)
                if 'id' in message:
                    with self.arrived:
                        self.answers[message['id']] = message
                        self.arrived.notify_all()

    def call(self, method, session=None, timeout=60, **params):
        self.next_id += 1
        ident = self.next_id
        message = {'id': ident, 'method': method, 'params': params}
        if session:
            message['sessionId'] = session
        os.write(self.out, json.dumps(message).encode() + b'\0')
        with self.arrived:
            if not self.arrived.wait_for(lambda: ident in self.answers, timeout):
                raise RuntimeError('no answer to ' + method)
            answer = self.answers.pop(ident)
        if 'error' in answer:
            raise RuntimeError('%s: %s' % (method, answer['error']))
        return answer['result']


class Page:
    def __init__(self, devtools, session):
        self.devtools = devtools
        self.session = session

    def call(self, method, **params):
        return self.devtools.call(method, session=self.session, **params)

    def value(self, expression):
        result = self.call('Runtime.evaluate', expression=expression, returnByValue=True)
        if 'exceptionDetails' in result:
            raise RuntimeError('%s: %s' % (expression, result['exceptionDetails']))
        return result['result'].get('value')

    def wait_for(self, expression, seconds, what):
        deadline = time.monotonic() + seconds
        while not self.value(expression):
            if time.monotonic() > deadline:
                raise RuntimeError('page: no %s within %d s' % (what, seconds))
            time.sleep(0.05)

    def show_seconds(self):
        return self.value('(performance.now() - window.zwBenchShowZero) / 1000')

    def wait_until_show_second(self, second):
        while True:
            now = self.show_seconds()
            if now >= second:
                return now
            time.sleep(min(0.1, second - now))

    def click(self, x, y):
        for kind in ('mousePressed', 'mouseReleased'):
            self.call('Input.dispatchMouseEvent', type=kind, x=x, y=y, button='left', clickCount=1)

    def press_escape(self):
        for kind in ('rawKeyDown', 'keyUp'):
            self.call('Input.dispatchKeyEvent', type=kind, key='Escape', code='Escape', windowsVirtualKeyCode=27,
                      nativeVirtualKeyCode=27)


def chromium_cpu_seconds(browser_pid):
    """CPU seconds (user + system) of the browser's processes, by their --type."""
    ticks = os.sysconf('SC_CLK_TCK')
    parent, seconds, kind = {}, {}, {}
    for entry in filter(str.isdigit, os.listdir('/proc')):
        try:
            with open('/proc/%s/stat' % entry) as f:
                fields = f.read().rsplit(')', 1)[1].split()
            with open('/proc/%s/cmdline' % entry, 'rb') as f:
                arguments = f.read().replace(b'\0', b' ').split()  # chromium rewrites its own
        except OSError:
            continue
        pid = int(entry)
        parent[pid] = int(fields[1])
        seconds[pid] = (int(fields[11]) + int(fields[12])) / ticks
        kind[pid] = next((a[7:].decode() for a in arguments if a.startswith(b'--type=')), 'browser')
    totals = {}
    for pid in seconds:
        ancestor = pid
        while ancestor not in (browser_pid, 0, 1) and ancestor in parent:
            ancestor = parent[ancestor]
        if ancestor == browser_pid:
            totals[kind[pid]] = totals.get(kind[pid], 0.0) + seconds[pid]
    return totals


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *arguments):
        pass


def serve(directory):
    handler = functools.partial(QuietHandler, directory=directory)
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def open_page(devtools, url):
    targets = devtools.call('Target.getTargets')['targetInfos']
    target = next(t['targetId'] for t in targets if t['type'] == 'page')
    page = Page(devtools, devtools.call('Target.attachToTarget', targetId=target, flatten=True)['sessionId'])
    page.call('Page.enable')
    page.call('Runtime.enable')
    page.call('Page.addScriptToEvaluateOnNewDocument', source=FRAME_COUNTER)
    page.call('Page.navigate', url=url)
    page.wait_for("document.getElementById('overlay') && "
                  "document.getElementById('overlay').classList.contains('ready')", 120, '"click to start"')
    return page


def print_profile(profile, frames):
    """Self time of the profile's functions, the largest first."""
    nodes = {node['id']: node for node in profile['nodes']}
    deltas = profile.get('timeDeltas', [])
    self_ms = {}
    for sample, delta in zip(profile.get('samples', []), deltas[1:] + [0]):
        frame = nodes[sample]['callFrame']
        name = frame['functionName'] or '(anonymous %s:%d)' % (os.path.basename(frame['url']), frame['lineNumber'])
        self_ms[name] = self_ms.get(name, 0.0) + delta / 1000.0
    total = sum(self_ms.values())
    print('renderer profile, %d frames: %.1f ms per frame sampled' % (frames, total / max(frames, 1)))
    for name, ms in sorted(self_ms.items(), key=lambda item: -item[1])[:25]:
        print('  %7.2f ms/frame %5.1f %%  %s' % (ms / max(frames, 1), 100 * ms / total, name))


def main(arguments):
    page_dir = arguments[0]
    profile_span = tuple(float(a) for a in arguments[2:4]) if arguments[1:2] == ['--profile'] else None
    server = serve(page_dir)
    profile_dir = tempfile.mkdtemp(prefix='zw-page-fps.')
    devtools = None
    try:
        devtools = DevTools([
            '--headless=new', '--no-sandbox', '--remote-debugging-pipe', '--use-angle=swiftshader',
            '--enable-unsafe-swiftshader', '--disable-background-networking', '--disable-component-update',
            '--disable-sync', '--no-first-run', '--disable-extensions', '--mute-audio',
            '--autoplay-policy=no-user-gesture-required', '--window-size=%d,%d' % WINDOW,
            '--user-data-dir=' + profile_dir, 'about:blank'])
        page = open_page(devtools, 'http://127.0.0.1:%d/' % server.server_address[1])
        print('chromium %s, WebGL renderer: %s' % (
            devtools.call('Browser.getVersion')['product'],
            page.value("(function () { var gl = document.createElement('canvas').getContext('webgl');"
                       " var info = gl && gl.getExtension('WEBGL_debug_renderer_info');"
                       " return info ? gl.getParameter(info.UNMASKED_RENDERER_WEBGL) : 'none'; })()")))
        page.value(SHOW_ZERO_HOOK)
        page.click(WINDOW[0] // 2, WINDOW[1] // 2)
        page.wait_for('window.zwBenchShowZero !== undefined', 60, 'first frame')

        cpu = {0: chromium_cpu_seconds(devtools.process.pid)}
        profiling = False
        marks = sorted({b for _, a, b in PARTS} | ({profile_span[0], profile_span[1]} if profile_span else set()))
        for mark in marks:
            page.wait_until_show_second(mark)
            if profile_span and mark == profile_span[0]:
                page.call('Profiler.enable')
                page.call('Profiler.setSamplingInterval', interval=200)
                page.call('Profiler.start')
                profiling = True
            if profile_span and mark == profile_span[1] and profiling:
                profile = page.call('Profiler.stop')['profile']
                profiling = False
            cpu[mark] = chromium_cpu_seconds(devtools.process.pid)
            if mark == ESCAPE_AT:
                page.press_escape()
        frames = page.value('window.zwBenchFrames.map(function (t) { return (t - window.zwBenchShowZero) / 1000; })')
        ended = page.value("document.getElementById('overlay').hidden === false")

        kinds = sorted({kind for sample in cpu.values() for kind in sample})
        print('%-11s %-12s %7s %6s  %s' % ('part', 'show second', 'frames', 'fps',
                                          '  '.join('%s ms/frame' % k for k in kinds)))
        for name, start, end in PARTS:
            count = sum(1 for t in frames if start <= t < end)
            costs = ['%*.1f' % (len(k) + 9, 1000 * (cpu[end].get(k, 0) - cpu[start].get(k, 0))
                                / max(count, 1)) for k in kinds]
            print('%-11s %-12s %7d %6.1f  %s' % (name, '%d-%d' % (start, end), count, count / (end - start),
                                                '  '.join(costs)))
        print('(the program %s at show second %d)' % ('had ended' if ended else 'still ran', END_AT))
        if profile_span:
            count = sum(1 for t in frames if profile_span[0] <= t < profile_span[1])
            print_profile(profile, count)
        try:
            devtools.call('Browser.close', timeout=10)
        except RuntimeError:
            pass
        devtools.process.wait(timeout=20)
        return 0
    finally:
        if devtools and devtools.process.poll() is None:
            devtools.process.kill()
            devtools.process.wait()
        server.shutdown()
        shutil.rmtree(profile_dir, ignore_errors=True)


if __name__ == '__main__':
    if len(sys.argv) not in (2, 5):
        print(__doc__)
        sys.exit(2)
    sys.exit(main(sys.argv[1:]))
