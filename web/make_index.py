#!/usr/bin/env python3
"""Makes the page's index.html from the linked shell: fills in the party's title and
description (from the release's info file), the invitation as text (from the
show's own invitation.txt) and, when known, the site's address and the release
archives. Everything is taken from those sources at build time, never written twice.

usage: make_index.py SHELL OUT INFO_TXT INVITATION_TXT PREVIEW_PNG [--url URL]
                     [--archive LABEL=URL]...

Without --url the tags that need an absolute address (og:image, og:url, the
canonical link) are left out rather than guessed."""
import argparse
import html
import re
import struct
import sys
import textwrap

PREVIEW_NAME = 'preview.png'


def info_title_and_facts(info_path):
    """The info file opens with its title line, an underline and one indented block
    of facts (dates, place, address): (title, [fact lines])."""
    lines = open(info_path, encoding='utf-8').read().splitlines()
    title = lines[0].strip()
    facts = []
    for line in lines[2:]:
        if line.strip():
            facts.append(line.strip())
        elif facts:
            break
    if not title or not facts:
        sys.exit('make_index: %s does not open with a title line and a block of facts' % info_path)
    return title, facts


def sentence_list(lines):
    """Lines joined into running text: a full stop between lines that lack one."""
    last = len(lines) - 1
    return ' '.join(line if line[-1] in '.:;,!?' or i == last else line + '.' for i, line in enumerate(lines))


def png_size(path):
    with open(path, 'rb') as png:
        head = png.read(24)
    if head[:8] != b'\x89PNG\r\n\x1a\n' or head[12:16] != b'IHDR':
        sys.exit('make_index: %s is not a PNG' % path)
    return struct.unpack('>II', head[16:24])


def page_folder(url):
    """The folder of the page's address, with its final slash: the preview lies
    beside index.html."""
    if url.endswith('/'):
        return url
    return url[:url.rfind('/') + 1] if re.search(r'://[^/]+/.*\.html?$', url) else url + '/'


def head_tags(title, description, preview, url):
    tags = [('name', 'description', description), ('property', 'og:type', 'website'),
            ('property', 'og:title', title), ('property', 'og:description', description)]
    if url:
        width, height = png_size(preview)
        tags += [('property', 'og:url', url), ('property', 'og:image', page_folder(url) + PREVIEW_NAME),
                 ('property', 'og:image:width', str(width)), ('property', 'og:image:height', str(height)),
                 ('property', 'og:image:alt', preview_alt(title))]
    # A large picture only where there is a picture to show.
    tags.append(('name', 'twitter:card', 'summary_large_image' if url else 'summary'))
    out = ['<meta %s="%s" content="%s">' % (kind, name, html.escape(value)) for kind, name, value in tags]
    if url:
        out.append('<link rel="canonical" href="%s">' % html.escape(url))
    return '\n'.join(out)


def preview_alt(title):
    return 'A moment of the show: ' + title


# The invitation text: blank lines part its blocks; "$" switches the show's red on
# and off; a line that is nothing but "$ words $" is a heading; lines of only
# "~*~*" frame the opening block.
def is_frame_line(line):
    return line.strip() != '' and not re.search(r'[0-9a-z]', line, re.I)


def heading_of(line):
    match = re.fullmatch(r'\s*\$([^$]+)\$\s*', line)
    if not match:
        return None
    words = match.group(1).strip()
    # Letters spaced out for the eye ("q u a r z e l") are one word for a reader.
    return words.replace(' ', '') if re.fullmatch(r'(\S )+\S', words) else words


def invitation_html(text):
    parts, block, headings = [], [], 0

    def end_block():
        if block:
            parts.append('<p>%s</p>' % html.escape(textwrap.dedent('\n'.join(block)).replace('$', '')))
            block.clear()

    for line in text.replace('\r\n', '\n').split('\n'):
        heading = heading_of(line)
        if heading is not None:
            end_block()
            level = 1 if headings == 0 else 2
            headings += 1
            parts.append('<h%d>%s</h%d>' % (level, html.escape(heading), level))
        elif is_frame_line(line) or not line.strip():
            end_block()
            if is_frame_line(line):
                parts.append('<hr>')
        else:
            block.append(line.rstrip())
    end_block()
    return '\n'.join(parts)


def archives_html(archives):
    if not archives:
        return ''
    items = []
    for entry in archives:
        label, _, url = entry.partition('=')
        if not url:
            sys.exit('make_index: --archive wants LABEL=URL, not %r' % entry)
        items.append('<li><a href="%s">%s</a></li>' % (html.escape(url), html.escape(label)))
    return ('<nav id="archives" aria-label="downloads">\n<p>The invitation to download and run on your computer:</p>\n'
            '<ul>\n%s\n</ul></nav>' % '\n'.join(items))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    for name in ('shell', 'out', 'info', 'invitation', 'preview'):
        parser.add_argument(name)
    parser.add_argument('--url', default='')
    parser.add_argument('--archive', action='append', default=[])
    args = parser.parse_args()
    url = args.url
    if url and not re.match(r'https?://[^/]+', url):
        sys.exit('make_index: --url %r is not an http(s) address' % url)

    title, facts = info_title_and_facts(args.info)
    description = sentence_list(facts)
    fills = {
        '@TITLE@': html.escape(title),
        '@HEAD@': head_tags(title, description, args.preview, url),
        '@PREVIEW@': PREVIEW_NAME,
        '@PREVIEW_ALT@': html.escape(preview_alt(title)),
        '@ARCHIVES@': archives_html(args.archive),
        '@INVITATION@': invitation_html(open(args.invitation, encoding='cp1252', errors='replace').read()),
    }
    page = open(args.shell, encoding='utf-8').read()
    for key, value in fills.items():
        if key not in page:
            sys.exit('make_index: %s lacks %s' % (args.shell, key))
        page = page.replace(key, value)
    with open(args.out, 'w', encoding='utf-8') as out:
        out.write(page)


if __name__ == '__main__':
    main()
