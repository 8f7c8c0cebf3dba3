#!/usr/bin/env python3
"""The built page as a link preview and a search engine read it: the head's
description and preview tags with the party's data; the preview picture at an
absolute address when the build knows the site's address (made again here with
one), and no address-dependent tag without it; the invitation's text in the body.

usage: check_head.py INDEX_HTML MAKE_INDEX LINKED_SHELL ASSETS_DIR PREVIEW_PNG"""
import html.parser
import os
import subprocess
import sys
import tempfile

from browser import PARTY_WORDS, Checks

SITE = 'https://party.example/zwirbelalp/'


class Page(html.parser.HTMLParser):
    """The head's meta tags and canonical link; the invitation's headings and text."""

    def __init__(self, text):
        super().__init__()
        self.meta, self.canonical, self.headings, self.invitation = {}, None, [], ''
        self._in_invitation, self._heading = False, None
        self.feed(text)

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == 'meta' and ('name' in a or 'property' in a):
            self.meta[a.get('name') or a.get('property')] = a.get('content', '')
        elif tag == 'link' and a.get('rel') == 'canonical':
            self.canonical = a.get('href')
        elif tag == 'article' and a.get('id') == 'invitation':
            self._in_invitation = True
        elif self._in_invitation and tag in ('h1', 'h2'):
            self._heading = tag

    def handle_endtag(self, tag):
        if tag == 'article':
            self._in_invitation = False
        if tag == self._heading:
            self._heading = None

    def handle_data(self, data):
        if self._heading:
            self.headings.append((self._heading, data))
        if self._in_invitation:
            self.invitation += data


def main(index_path, make_index, shell, assets, preview):
    check = Checks()
    built = Page(open(index_path, encoding='utf-8').read())
    description = built.meta.get('description', '')
    check(all(word in description for word in PARTY_WORDS), 'description: "%s"' % description)
    for tag in ('og:title', 'og:description', 'og:type', 'twitter:card'):
        check(built.meta.get(tag), '%s: "%s"' % (tag, built.meta.get(tag)))
    guessed = [tag for tag in ('og:image', 'og:url') if tag in built.meta] + ['canonical'] * bool(built.canonical)
    check(not guessed, 'no address-dependent tags without the site\'s address (%s)' % ', '.join(guessed))
    check(('h1', 'quarzel') in built.headings and len(built.headings) > 10,
          'the invitation\'s headings are headings (%d, the first %s)' % (len(built.headings), built.headings[:1]))
    check('$' not in built.invitation and all(word in built.invitation for word in PARTY_WORDS),
          'the invitation is text, without its colour markers')

    with tempfile.TemporaryDirectory() as work:
        addressed = os.path.join(work, 'index.html')
        subprocess.run([sys.executable, make_index, shell, addressed, os.path.join(assets, 'release/info.txt'),
                        os.path.join(assets, 'text/invitation.txt'), preview, '--url', SITE], check=True)
        page = Page(open(addressed, encoding='utf-8').read())
    for tag, value in (('og:image', SITE + 'preview.png'), ('og:url', SITE), ('og:image:width', '640'),
                       ('twitter:card', 'summary_large_image')):
        check(page.meta.get(tag) == value, 'with --url, %s: "%s"' % (tag, page.meta.get(tag)))
    return 1 if check.failed else 0


if __name__ == '__main__':
    sys.exit(main(*sys.argv[1:]))
