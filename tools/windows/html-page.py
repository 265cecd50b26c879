#!/usr/bin/env python3
"""A Markdown file as an HTML page that needs nothing beside it: its PNG
pictures go into the page as data: URIs, so that a browser shows them
wherever the page is opened, without network access. The same input always
gives the same bytes (no time stamps, no paths).
Usage: html-page.py IN.md OUT.html
"""
import base64
import html
import pathlib
import re
import sys

import markdown

PAGE = """<!DOCTYPE html>
<html lang="zh-CN">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{title}</title>
<style>
body {{ max-width: 52em; margin: 2em auto; padding: 0 1em; line-height: 1.6;
       font-family: "Microsoft YaHei", "SimSun", sans-serif; color: #222; }}
table {{ border-collapse: collapse; margin: 1em 0; }}
th, td {{ border: 1px solid #bbb; padding: 0.3em 0.6em; vertical-align: top; }}
img {{ max-width: 100%; }}
code {{ background: #f2f2f2; padding: 0 0.2em; }}
</style>
</head>
<body>
{body}
</body>
</html>
"""


def main(source, target):
    source = pathlib.Path(source)
    text = source.read_text(encoding="utf-8")
    body = markdown.markdown(text, extensions=["tables"], output_format="html")
    # A line break between two Chinese characters is no space in Chinese,
    # but a browser would show one (outside <pre>, where it breaks the line).
    body = "".join(part if part.startswith("<pre>") else
                   re.sub(r"(?<=[^\x00-\x7f])\n[ \t]*(?=[^\x00-\x7f])", "", part)
                   for part in re.split(r"(<pre>.*?</pre>)", body, flags=re.S))

    def inline(match):
        picture = source.parent / html.unescape(match.group(1))
        data = base64.b64encode(picture.read_bytes()).decode("ascii")
        return f'src="data:image/png;base64,{data}"'

    body = re.sub(r'src="([^":]+\.png)"', inline, body)
    outside = [src for src in re.findall(r'src="([^"]*)"', body) if not src.startswith("data:")]
    if outside:
        sys.exit(f"html-page.py: {source}: pictures that are no PNG beside it: {outside}")
    heading = re.search(r"<h1>(.*?)</h1>", body)
    title = re.sub(r"<[^>]+>", "", heading.group(1)) if heading else source.stem
    pathlib.Path(target).write_text(PAGE.format(title=title, body=body), encoding="utf-8",
                                    newline="\n")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: html-page.py IN.md OUT.html")
    main(sys.argv[1], sys.argv[2])
