#!/usr/bin/env python3
"""Writes the seed corpus: the seed calls of each module's contract in the
manifest (its `seed` lines), in the byte encoding that fuzz_gateway.cpp reads
(see the comment at its top).  The special values, texts and field names are
read from fuzz_gateway.cpp itself, so the two cannot disagree.  A module
without seed lines gets two generic calls."""
import math
import os
import re
import struct as packing

here = os.path.dirname(os.path.abspath(__file__))


def gateway_table(source, name):
    """The initialiser list of `name` in the gateway's source, as text items."""
    m = re.search(r'\b' + name + r'\[\]\s*=\s*\{(.*?)\};', source, re.S)
    if not m:
        raise SystemExit('fuzz_gateway.cpp has no table ' + name)
    return [x.strip() for x in m.group(1).replace('\n', ' ').split(',') if x.strip()]


def c_double(t):
    named = {'NAN': math.nan, 'INFINITY': math.inf, '-INFINITY': -math.inf}
    return named[t] if t in named else float(t)


with open(os.path.join(here, 'fuzz_gateway.cpp')) as f:
    GATEWAY = f.read()
SPECIAL = [c_double(t) for t in gateway_table(GATEWAY, 'special_values')]
TEXTS = [t.strip('"') for t in gateway_table(GATEWAY, 'texts')]
FIELDS = [t.strip('"') for t in gateway_table(GATEWAY, 'field_names')]
INTEGERS = ['int8', 'uint8', 'int16', 'uint16', 'int32', 'uint32', 'int64', 'uint64']


def bits(v):
    return packing.pack('<d', v)


def val(v):
    for i, s in enumerate(SPECIAL):
        if (math.isnan(s) and math.isnan(v)) or bits(s) == bits(v):
            return i
    b = round(v * 8) + len(SPECIAL)
    assert 0 <= b <= 255 and (b - len(SPECIAL)) / 8 == v, v
    return b


# Arguments: ('double', rows, cols, values in storage order), ('int', kind,
# rows, cols, values), ('text', s), ('logical', rows, cols, values),
# ('cell', rows, cols, elements), ('struct', [(field, value)]).
def encode(a):
    kind = a[0]
    if kind == 'double':
        return bytes([0, 0, a[1], a[2]] + [val(v) for v in a[3]])
    if kind == 'int':
        return bytes([7, INTEGERS.index(a[1]), 0, a[2], a[3]] + [val(v) for v in a[4]])
    if kind == 'text':
        return bytes([10, TEXTS.index(a[1])])
    if kind == 'logical':
        return bytes([9, a[1], a[2]] + list(a[3]))
    if kind == 'cell':
        out = bytes([11, a[1], a[2]])
        for e in a[3]:
            out += bytes([1]) + encode(e)  # nonzero: the element is present
        return out
    if kind == 'struct':
        out = bytes([12, len(a[1])])
        for name, v in a[1]:
            out += bytes([FIELDS.index(name)]) + encode(v)
        return out
    raise ValueError(kind)


class Reader:
    """The manifest's call syntax: the subset of Octave its top comment gives."""

    def __init__(self, text):
        self.s, self.p = text, 0

    def fail(self, what):
        raise SystemExit("seed '%s': %s at %d" % (self.s, what, self.p))

    def skip(self):
        while self.p < len(self.s) and self.s[self.p] == ' ':
            self.p += 1

    def accept(self, c):
        self.skip()
        if self.s.startswith(c, self.p):
            self.p += len(c)
            return True
        return False

    def expect(self, c):
        if not self.accept(c):
            self.fail("expected '%s'" % c)

    def match(self, pattern, what):
        self.skip()
        m = re.compile(pattern).match(self.s, self.p)
        if not m:
            self.fail('expected ' + what)
        self.p = m.end()
        return m.group(0)

    def name(self):
        return self.match(r'[A-Za-z_][A-Za-z0-9_]*', 'a name')

    def number(self):
        t = self.match(r'[-+]?(NaN|Inf|[0-9.]+(e[-+]?[0-9]+)?)', 'a number')
        sign = -1.0 if t.startswith('-') else 1.0
        body = t.lstrip('+-')
        v = math.nan if body == 'NaN' else math.inf if body == 'Inf' else float(body)
        return math.copysign(v, sign) if not math.isnan(v) else v

    def call(self):
        head = self.s[:self.s.index('(')]
        nout = 0
        if '=' in head:
            nout = 1 + head[:head.index('=')].count(',')
            self.p = head.index('=') + 1
        fn = self.name()
        self.expect('(')
        args = self.values(')')
        rest = self.s[self.p:].split()
        stream = 0
        if rest:
            if len(rest) != 2 or rest[0] != 'stream':
                self.fail('expected "stream N" after the call')
            stream = int(rest[1])
        return fn, nout, args, stream

    def values(self, close):
        """Values separated by commas, up to `close`."""
        out = []
        if not self.accept(close):
            out.append(self.value())
            while self.accept(','):
                out.append(self.value())
            self.expect(close)
        return out

    def value(self):
        self.skip()
        if self.accept('['):
            rows = [[]]
            while not self.accept(']'):
                if self.accept(';'):
                    rows.append([])
                elif not self.accept(','):
                    rows[-1].append(self.number())
            if rows == [[]]:
                return ('double', 0, 0, [])
            if any(len(r) != len(rows[0]) for r in rows):
                self.fail('rows of different lengths')
            return ('double', len(rows), len(rows[0]), [r[j] for j in range(len(rows[0])) for r in rows])
        if self.accept('{'):
            el = self.values('}')
            return ('cell', 1, len(el), el)
        if self.accept("'"):
            end = self.s.index("'", self.p)
            t, self.p = self.s[self.p:end], end + 1
            return ('text', t)
        if re.compile(r'[A-Za-z]').match(self.s, self.p) and not re.compile('NaN|Inf').match(self.s, self.p):
            f = self.name()
            if f in ('true', 'false'):
                return ('logical', 1, 1, [int(f == 'true')])
            self.expect('(')
            if f == 'struct':
                fields = []
                while True:
                    name = self.value()[1]
                    self.expect(',')
                    if self.accept('{'):  # {x}: the field's value is x
                        v = self.value()
                        self.expect('}')
                    else:
                        v = self.value()
                    fields.append((name, v))
                    if not self.accept(','):
                        break
                out = ('struct', fields)
            elif f in INTEGERS:
                d = self.value()
                out = ('int', f, d[1], d[2], d[3])
            elif f in ('ones', 'zeros'):
                m = int(self.number())
                self.expect(',')
                n = int(self.number())
                out = ('double', m, n, [1.0 if f == 'ones' else 0.0] * (m * n))
            else:
                self.fail('unknown function ' + f)
            self.expect(')')
            return out
        return ('double', 1, 1, [self.number()])


def call(nlhs, args, stream=b''):
    return bytes([len(args), nlhs]) + b''.join(encode(a) for a in args) + bytes([3]) + stream


U = bytes([0, 40, 0, 36, 0, 44, 0, 38, 1, 36, 1, 40])  # a few "rand" and "randn" values


def manifest_seeds(path):
    """The modules of the manifest, in its order, each with its seed lines."""
    modules, owner = {}, None
    with open(path) as f:
        for line in f:
            text = line.split('#', 1)[0]
            words = text.split()
            if not words:
                continue
            if line[0] in ' \t':
                if owner and words[0] == 'seed':
                    modules[owner].append(text.strip()[len('seed'):].strip())
                continue
            owner = words[1] if words[0] == 'module' else None
            if owner:
                modules[owner] = []
    return modules


GENERIC = [call(1, [('double', 1, 1, [2.0])], U), call(1, [('double', 2, 3, [1.0] * 6), ('double', 1, 1, [3.0])], U)]
if __name__ == '__main__':
    for module, seeds in manifest_seeds(os.path.join(here, '..', 'manifest.txt')).items():
        folder = os.path.join(here, 'corpus', module)
        os.makedirs(folder, exist_ok=True)
        out = []
        for text in seeds:
            fn, nout, args, stream = Reader(text).call()
            if fn != module:
                raise SystemExit('a seed of %s calls %s' % (module, fn))
            out.append(call(nout, args, U * stream))
        for i, seed in enumerate(out or GENERIC):
            with open(os.path.join(folder, 'seed%d' % i), 'wb') as f:
                f.write(seed)
