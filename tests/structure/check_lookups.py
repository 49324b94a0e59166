#!/usr/bin/env python3
"""Fails when a class of ours is looked up by Qt's meta objects without one of its own.

qobject_cast<T*>, findChild<T*> and findChildren<T*> match an object by T's meta
object. A class without Q_OBJECT has none of its own: it answers with its nearest
base's, so the lookup also returns objects of that base that are no T at all (a
plain QLineEdit for an edit class of ours), and what the caller then reads of T is
read past the end of another object.

Every class or struct defined in the tree's sources is ours. A lookup is one of
the three calls, or a function template that hands its type parameter on to a
lookup (a helper that finds a child by name, say). Each lookup of a class of ours
whose definition lacks Q_OBJECT is reported with its place, and the check fails.
"""
import os
import re
import sys

SOURCES = ('.h', '.cpp')
QT_LOOKUPS = ('qobject_cast', 'findChild', 'findChildren')

CLASS_HEAD = re.compile(r'(?<!enum )\b(?:class|struct)\s+(?:alignas\s*\([^)]*\)\s*)?([A-Za-z_]\w*)\s*(?:final\s*)?(?::[^;{()]*)?\{')
TEMPLATE_HEAD = re.compile(r'\btemplate\s*<')
PARAMETER = re.compile(r'\b(?:typename|class)\s+([A-Za-z_]\w*)')


def without_comments_and_strings(text):
    """The source with comments and literals blanked; line breaks stay, so that
    offsets still give the right line."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith('//', i):
            end = text.find('\n', i)
            end = n if end < 0 else end
            out.append(' ' * (end - i))
            i = end
        elif text.startswith('/*', i):
            end = text.find('*/', i + 2)
            end = n if end < 0 else end + 2
            out.append(re.sub(r'[^\n]', ' ', text[i:end]))
            i = end
        elif c == 'R' and text.startswith('R"', i):
            match = re.match(r'R"([^(\s]*)\(', text[i:])
            if not match:
                out.append(c)
                i += 1
                continue
            close = ')' + match.group(1) + '"'
            end = text.find(close, i + match.end())
            end = n if end < 0 else end + len(close)
            out.append(re.sub(r'[^\n]', ' ', text[i:end]))
            i = end
        elif c in '"\'':
            j = i + 1
            while j < n and text[j] != c and text[j] != '\n':
                j += 2 if text[j] == '\\' else 1
            out.append(' ' * (min(j + 1, n) - i))
            i = j + 1
        else:
            out.append(c)
            i += 1
    return ''.join(out)


def matching_brace(text, start):
    """The offset after the brace that closes the one at `start`."""
    depth = 0
    for i in range(start, len(text)):
        if text[i] == '{':
            depth += 1
        elif text[i] == '}':
            depth -= 1
            if depth == 0:
                return i + 1
    return len(text)


def own_level(body):
    """The text of a class body without the bodies nested in it."""
    out, depth = [], 0
    for c in body:
        if c == '{':
            depth += 1
        elif c == '}':
            depth -= 1
        elif depth == 0:
            out.append(c)
    return ''.join(out)


def sources(root):
    for folder, subfolders, files in os.walk(root):
        subfolders[:] = sorted(d for d in subfolders if not d.startswith(('.', 'build')))
        for name in sorted(files):
            if name.endswith(SOURCES):
                path = os.path.join(folder, name)
                with open(path, encoding='utf-8', errors='replace') as source:
                    yield os.path.relpath(path, root), without_comments_and_strings(source.read())


def classes_without_meta_object(texts):
    """Our classes, each with whether a definition of it lacks Q_OBJECT."""
    lacking = {}
    for path, text in texts:
        for match in CLASS_HEAD.finditer(text):
            brace = match.end() - 1
            body = own_level(text[brace + 1:matching_brace(text, brace) - 1])
            name = match.group(1)
            lacking[name] = lacking.get(name, False) or not re.search(r'\bQ_OBJECT\b', body)
    return lacking


def use_of(names):
    alternatives = '|'.join(sorted(names, key=len, reverse=True))
    return re.compile(r'\b(' + alternatives + r')\s*<\s*(?:const\s+)?((?:\w+::)*\w+)\s*\*?\s*>')


def template_functions(text):
    """(name, parameters, body) of each function template."""
    for match in TEMPLATE_HEAD.finditer(text):
        depth, i = 1, match.end()
        while i < len(text) and depth:
            depth += {'<': 1, '>': -1}.get(text[i], 0)
            i += 1
        parameters = set(PARAMETER.findall(text[match.end():i - 1]))
        head_end = min((p for p in (text.find('{', i), text.find(';', i)) if p >= 0), default=-1)
        if head_end < 0 or text[head_end] != '{':
            continue
        name = re.search(r'([A-Za-z_]\w*)\s*\(', text[i:head_end])
        if name and parameters:
            yield name.group(1), parameters, text[head_end:matching_brace(text, head_end)]


def lookup_functions(texts):
    """The Qt lookups and every function template that hands its type on to one."""
    lookups = set(QT_LOOKUPS)
    templates = [t for _, text in texts for t in template_functions(text)]
    while True:
        uses = use_of(lookups)
        found = {name for name, parameters, body in templates
                 if name not in lookups and any(m.group(2) in parameters for m in uses.finditer(body))}
        if not found:
            return lookups
        lookups |= found


def faults(root):
    texts = list(sources(root))
    lacking = classes_without_meta_object(texts)
    uses = use_of(lookup_functions(texts))
    for path, text in texts:
        for match in uses.finditer(text):
            name = match.group(2).split('::')[-1]
            if lacking.get(name):
                line = text.count('\n', 0, match.start()) + 1
                yield f'{path}:{line}: {" ".join(match.group(0).split())} looks up {name}, which has no Q_OBJECT'


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else '.')
    found = list(faults(root))
    for fault in found:
        print(fault)
    return 1 if found else 0


if __name__ == '__main__':
    sys.exit(main())
