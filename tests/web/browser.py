#!/usr/bin/env python3
"""The page in headless chromium worked over the DevTools protocol, for what the
--dump-dom run of page_test.sh cannot do: a phone's screen and fingers, a browser
without WebGL, a site without stuff.dat. Started by page_test.sh.

usage: browser.py phone URL ORIENTATION OUT_HTML -- CHROMIUM...
           the probe's #phone scenario by touch alone on a 390 x 844 phone
           (ORIENTATION portrait, or landscape: 844 x 390); writes the page's DOM
       browser.py no-webgl URL -- CHROMIUM...
           the page with WebGL switched off: the invitation instead of the show
       browser.py no-archive URL -- CHROMIUM...
           a site without stuff.dat: one line saying so, the program not started
Prints what it checked; exits 1 when a check fails. The browser talks over a pipe
(--remote-debugging-pipe), so no port is opened; it ends with this script."""
import json
import os
import select
import subprocess
import sys
import tempfile
import time

PHONE = {'portrait': (390, 844, 'portraitPrimary', 0), 'landscape': (844, 390, 'landscapePrimary', 90)}
# The party's data as the page must give it to a reader (assets/release/info.txt).
PARTY_WORDS = ['quarzel', 'schratten', '18. - 20. october']


class Browser:
    """Chromium with one page, and the protocol's commands on it. Dialogs are
    counted and dismissed."""

    def __init__(self, command, profile):
        to_browser, self._to_browser = os.pipe()
        self._from_browser, from_browser = os.pipe()
        # The protocol's pipe is the browser's descriptors 3 (in) and 4 (out).
        shell = 'exec "$0" "$@" 3<&%d 4>&%d' % (to_browser, from_browser)
        self.process = subprocess.Popen(
            ['bash', '-c', shell] + command + ['--remote-debugging-pipe', '--user-data-dir=' + profile],
            pass_fds=(to_browser, from_browser), start_new_session=True,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser)
        os.close(from_browser)
        self._buffer = b''
        self._next_id = 0
        self.dialogs = []
        target = self.send('Target.createTarget', {'url': 'about:blank'})['targetId']
        self.session = self.send('Target.attachToTarget', {'targetId': target, 'flatten': True})['sessionId']
        self.page('Page.enable')

    def close(self):
        try:
            os.killpg(self.process.pid, 15)
        except ProcessLookupError:
            pass
        self.process.wait()

    def _read(self, timeout):
        while b'\0' not in self._buffer:
            ready, _, _ = select.select([self._from_browser], [], [], timeout)
            chunk = os.read(self._from_browser, 1 << 16) if ready else b''
            if not chunk:
                raise RuntimeError('the browser did not answer' if not ready else 'the browser ended')
            self._buffer += chunk
        message, self._buffer = self._buffer.split(b'\0', 1)
        return json.loads(message)

    def _post(self, method, params, session):
        self._next_id += 1
        message = {'id': self._next_id, 'method': method, 'params': params or {}}
        if session:
            message['sessionId'] = session
        os.write(self._to_browser, json.dumps(message).encode() + b'\0')
        return self._next_id

    def send(self, method, params=None, session=None, timeout=60):
        wanted = self._post(method, params, session)
        while True:
            message = self._read(timeout)
            if message.get('method') == 'Page.javascriptDialogOpening':
                self.dialogs.append(message['params'].get('message', ''))
                self._post('Page.handleJavaScriptDialog', {'accept': True}, message.get('sessionId'))
            if message.get('id') == wanted:
                if 'error' in message:
                    raise RuntimeError('%s: %s' % (method, message['error'].get('message')))
                return message['result']

    def page(self, method, params=None):
        return self.send(method, params, self.session)

    def evaluate(self, expression):
        result = self.page('Runtime.evaluate', {'expression': expression, 'returnByValue': True})
        if 'exceptionDetails' in result:
            raise RuntimeError('%s: %s' % (expression, result['exceptionDetails'].get('text')))
        return result['result'].get('value')

    def wait_for(self, expression, seconds):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            value = self.evaluate(expression)
            if value:
                return value
            time.sleep(0.05)
        raise RuntimeError('waited %d s for %s' % (seconds, expression))

    def open(self, url):
        self.page('Page.navigate', {'url': url})
        self.wait_for('document.readyState === "complete"', 60)

    def touch(self, kind, points):
        self.page('Input.dispatchTouchEvent', {'type': kind, 'touchPoints': points})


class Checks:
    def __init__(self):
        self.failed = 0

    def __call__(self, ok, what):
        self.failed += not ok
        print('%s %s' % ('ok  ' if ok else 'FAIL', what))


def finger(x, y, number=0):
    return {'x': x, 'y': y, 'id': number}


def perform(browser, action):
    """One of the probe's phone actions, with touch events alone."""
    x, y, what = action['x'], action['y'], action['what']
    if what in ('tap', 'finger down'):
        browser.touch('touchStart', [finger(x, y)])
    if what == 'tap':
        time.sleep(0.05)
    if what in ('tap', 'finger up'):
        browser.touch('touchEnd', [])
    if what == 'pinch':  # two fingers spread apart, then a double tap
        for spread in range(20, 140, 20):
            kind = 'touchStart' if spread == 20 else 'touchMove'
            browser.touch(kind, [finger(x - spread, y), finger(x + spread, y, 1)])
        browser.touch('touchEnd', [])
        for _ in range(2):
            browser.touch('touchStart', [finger(x, y)])
            browser.touch('touchEnd', [])
        time.sleep(0.5)


def phone(browser, url, orientation, out_path):
    width, height, kind, angle = PHONE[orientation]
    browser.page('Emulation.setDeviceMetricsOverride', {
        'width': width, 'height': height, 'deviceScaleFactor': 3, 'mobile': True,
        'screenOrientation': {'type': kind, 'angle': angle}})
    browser.page('Emulation.setTouchEmulationEnabled', {'enabled': True, 'maxTouchPoints': 5})
    browser.open(url + '#phone')
    end = time.monotonic() + 600
    while not browser.evaluate('zwProbe.finished'):
        if time.monotonic() > end:
            raise RuntimeError('the phone scenario did not finish in 600 s')
        action = browser.evaluate('zwProbe.pending')
        if action:
            perform(browser, action)
            browser.evaluate('zwProbe.done()')
        else:
            time.sleep(0.05)
    with open(out_path, 'w') as out:
        out.write(browser.evaluate('document.documentElement.outerHTML'))


def shown(browser, selector):
    return browser.evaluate('(function (e) { var box = e && e.getBoundingClientRect();'
                            ' return !!box && box.width > 100 && box.height > 100; })'
                            '(document.querySelector("%s"))' % selector)


def program_started(browser):
    """The program makes its WebGL context at its start; a canvas that still gives
    a 2D context never had one."""
    return browser.evaluate('!document.getElementById("canvas").getContext("2d")')


def accessible_text(browser):
    """All names and values of chromium's accessibility tree: what a screen reader
    can read."""
    nodes = browser.page('Accessibility.getFullAXTree')['nodes']
    return ' '.join(str(node.get(field, {}).get('value', '')) for node in nodes for field in ('name', 'value'))


def no_webgl(browser, url, check):
    browser.open(url)
    time.sleep(1)
    why = browser.evaluate('document.getElementById("why").textContent')
    check('WebGL' in why, 'the page says why the show cannot play: "%s"' % why)
    check(browser.wait_for('document.getElementById("preview").naturalWidth', 10) > 0 and shown(browser, '#preview'),
          'the preview picture is shown')
    check(shown(browser, '#invitation'), 'the invitation is shown as text')
    check(not browser.evaluate('"Module" in window'), 'the program is not loaded')
    heard = accessible_text(browser)
    missing = [word for word in PARTY_WORDS if word not in heard]
    check(not missing, 'a screen reader reads the party\'s name, place and dates' +
          (' (missing: %s)' % ', '.join(missing) if missing else ''))


def no_archive(browser, url, check):
    browser.open(url)
    expected = 'stuff.dat could not be loaded: 404 File not found'
    found = browser.wait_for('document.getElementById("why").textContent', 60)
    check(found == expected, 'the page says "%s"' % found)
    time.sleep(1)
    said = browser.evaluate('document.body.innerText.split("stuff.dat could not").length - 1')
    check(said == 1, 'it says so once (%d times)' % said)
    check(not program_started(browser), 'the program is not started')


def main(argv):
    split = argv.index('--')
    args, command = argv[1:split], argv[split + 1:]
    check = Checks()
    with tempfile.TemporaryDirectory(prefix='zw-browser.') as profile:
        if args[0] == 'no-webgl':
            command = command + ['--disable-3d-apis']
        browser = Browser(command, profile)
        try:
            if args[0] == 'phone':
                phone(browser, args[1], args[2], args[3])
            elif args[0] == 'no-webgl':
                no_webgl(browser, args[1], check)
            elif args[0] == 'no-archive':
                no_archive(browser, args[1], check)
            else:
                raise SystemExit('browser.py: unknown scenario %s' % args[0])
        finally:
            browser.close()
        if args[0] != 'phone' or browser.dialogs:
            check(not browser.dialogs, 'no dialog (%s)' % ' | '.join(browser.dialogs))
    return 1 if check.failed else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
