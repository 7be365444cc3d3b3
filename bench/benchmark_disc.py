#!/usr/bin/python3
"""Assembles the source tree of the benchmark disc from the Russian LibreOffice help.

    benchmark_disc.py --corpus HELPROOT --sample samples/sample-disc --documents N SOURCE

HELPROOT is the folder that holds "ru/" (usr/share/libreoffice/help of the package). The pages
are turned into Windows-1251 (characters outside it as numeric references), and so are their
scripts, which the pages read in the pages' charset; every second page
loses its charset declaration, as pages of old discs often did. The corpus is repeated under
numbered folders until N pages are reached. The skin, media and the manual's own pages come from
the sample disc; the contents trees are built from the corpus folders.
"""
import argparse
import html
import os
import re
import shutil

META = re.compile(rb'<meta[^>]*charset\s*=\s*["\']?utf-8["\']?[^>]*>', re.I)
TITLE = re.compile(r"<title>(.*?)</title>", re.I | re.S)
DECLARED = b'<meta http-equiv="Content-Type" content="text/html; charset=windows-1251">'


def to_1251(data, keep_declaration):
    """UTF-8 page to 1251: the declaration is rewritten or dropped, other characters become
    numeric references."""
    data = META.sub(DECLARED if keep_declaration else b"", data)
    return data.decode("utf-8", errors="replace").encode("cp1251", errors="xmlcharrefreplace")


def script_to_1251(data):
    """A UTF-8 script in 1251, which is what a page without a charset of its scripts reads them
    as; characters outside 1251 (in the corpus only within string literals) become \\u escapes."""
    text = data.decode("utf-8-sig", errors="replace")
    out = []
    for c in text:
        try:
            out.append(c.encode("cp1251"))
        except UnicodeEncodeError:
            units = c.encode("utf-16-be")
            out.append(b"".join(b"\\u%02x%02x" % (units[i], units[i + 1]) for i in range(0, len(units), 2)))
    return b"".join(out)


def corpus_pages(root):
    pages, other = [], []
    for folder, dirs, files in os.walk(root):
        dirs.sort()
        for name in sorted(files):
            rel = os.path.relpath(os.path.join(folder, name), root)
            (pages if name.lower().endswith((".html", ".htm")) else other).append(rel)
    return pages, other


def title_of(page_1251):
    m = TITLE.search(page_1251.decode("cp1251"))
    return html.unescape(" ".join(m.group(1).split())) if m else ""


def tree_lines(entries):
    """tree1: folders as headings (no document), pages below them; tree2: pages by title under
    letter headings."""
    t1, seen = [], []
    for path, title in entries:
        parts = path.split("\\")[:-1]
        common = 0
        while common < min(len(parts), len(seen)) and parts[common] == seen[common]:
            common += 1
        for level in range(common, len(parts)):
            t1.append("\t" * level + "; " + parts[level])
        seen = parts
        t1.append("\t" * len(parts) + "%s; %s" % (path, title or path))
    t2, letter = [], None
    for path, title in sorted(entries, key=lambda e: (e[1].lower(), e[0])):
        first = (title[:1] or "?").upper()
        if first != letter:
            t2.append("; " + first)
            letter = first
        t2.append("\t%s; %s" % (path, title or path))
    return t1, t2


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--corpus", required=True)
    ap.add_argument("--sample", required=True)
    ap.add_argument("--documents", type=int, default=2561)
    ap.add_argument("source")
    args = ap.parse_args()

    pages, other = corpus_pages(args.corpus)
    if not pages:
        raise SystemExit("no pages below " + args.corpus)
    shutil.rmtree(args.source, ignore_errors=True)
    shutil.copytree(os.path.join(args.sample, "skin"), os.path.join(args.source, "skin"))
    shutil.copytree(os.path.join(args.sample, "files"), os.path.join(args.source, "files"))
    documents = os.path.join(args.source, "documents")
    shutil.copytree(os.path.join(args.sample, "documents"), documents)

    copies = -(-args.documents // len(pages))
    entries = []
    written = 0
    for copy in range(1, copies + 1):
        prefix = "c%02d" % copy if copies > 1 else "lo"
        for rel in other:
            dst = os.path.join(documents, prefix, rel)
            os.makedirs(os.path.dirname(dst), exist_ok=True)
            if rel.lower().endswith(".js"):
                with open(os.path.join(args.corpus, rel), "rb") as f, open(dst, "wb") as out:
                    out.write(script_to_1251(f.read()))
            else:
                shutil.copyfile(os.path.join(args.corpus, rel), dst)
        for i, rel in enumerate(pages):
            if written == args.documents:
                break
            with open(os.path.join(args.corpus, rel), "rb") as f:
                page = to_1251(f.read(), keep_declaration=(i % 2 == 0))
            dst = os.path.join(documents, prefix, rel)
            os.makedirs(os.path.dirname(dst), exist_ok=True)
            with open(dst, "wb") as f:
                f.write(page)
            entries.append(((prefix + "\\" + rel).replace("/", "\\"), title_of(page)))
            written += 1

    t1, t2 = tree_lines(entries)
    for name, lines in (("tree1.cfs", t1), ("tree2.cfs", t2)):
        with open(os.path.join(args.source, "skin", name), "w", encoding="utf-8", newline="\n") as f:
            f.write("\n".join(lines) + "\n")
    firsts = {}
    for path, _ in entries:
        firsts.setdefault("\\".join(path.split("\\")[:4]), path)
    links = "\n".join('<li><a href="%s">%s</a></li>' % (firsts[k].replace("\\", "/"), k) for k in sorted(firsts))
    index = ('<html><head><meta http-equiv="Content-Type" content="text/html; charset=windows-1251">'
             "<title>Справка LibreOffice: тестовый диск</title></head><body><h1>Тестовый диск</h1>"
             '<p>%d страниц. <a href="dv_obzor.htm">Пример руководства</a>.</p><ul>%s</ul></body></html>'
             % (written, links))
    with open(os.path.join(documents, "index.htm"), "wb") as f:
        f.write(index.encode("cp1251", errors="xmlcharrefreplace"))
    print("%d pages, %d copies of the corpus" % (written, copies))


if __name__ == "__main__":
    main()
