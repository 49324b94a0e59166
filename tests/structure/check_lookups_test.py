#!/usr/bin/env python3
"""The lookup check on small trees: what it must report, and what it must let be."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_lookups  # noqa: E402

EDIT_WITHOUT_META = '''
class TEdit : public QLineEdit {
public:
    bool refused = false;
};
'''
EDIT_WITH_META = '''
class TEdit : public QLineEdit {
    Q_OBJECT
public:
    bool refused = false;
};
'''
# Q_OBJECT only in a class nested in it, or in a comment: still none of its own.
EDIT_WITH_NESTED_META = '''
class TEdit : public QLineEdit {
    class Inner : public QObject {
        Q_OBJECT
    };
    // Q_OBJECT
};
'''
FINDER = '''
template <typename T>
T FirstNamed(QWidget* within, const QString& name) {
    const QList<T> found = within->findChildren<T>(name);
    return found.isEmpty() ? nullptr : found.front();
}
template <typename W>
W* Named(QWidget* within, const char* name) { return FirstNamed<W*>(within, name); }
'''


class LookupCheck(unittest.TestCase):
    def faults(self, files):
        with tempfile.TemporaryDirectory() as root:
            for name, text in files.items():
                path = os.path.join(root, name)
                os.makedirs(os.path.dirname(path), exist_ok=True)
                with open(path, 'w', encoding='utf-8') as out:
                    out.write(text)
            return list(check_lookups.faults(root))

    def test_cases(self):
        cases = [
            # (what, the class, the lookup, faults expected)
            ('findChildren of a class without a meta object', EDIT_WITHOUT_META,
             'for (auto* e : form->findChildren<TEdit*>()) e->refused;', 1),
            ('findChild', EDIT_WITHOUT_META, 'auto* e = form->findChild<TEdit*>("a");', 1),
            ('qobject_cast of a const pointer', EDIT_WITHOUT_META, 'auto* e = qobject_cast<const TEdit*>(w);', 1),
            ('through a finder template, two levels deep', EDIT_WITHOUT_META + FINDER,
             'auto* e = Named<TEdit>(form, "a");', 1),
            ('a qualified name', 'namespace zeko {' + EDIT_WITHOUT_META + '}',
             'auto* e = qobject_cast<zeko::TEdit*>(w);', 1),
            ('Q_OBJECT only in a nested class or a comment', EDIT_WITH_NESTED_META,
             'auto* e = qobject_cast<TEdit*>(w);', 1),
            ('a class with its own meta object', EDIT_WITH_META,
             'auto* e = form->findChildren<TEdit*>(); auto* f = Named<TEdit>(form, "a");', 0),
            ('a Qt class', EDIT_WITHOUT_META, 'auto* e = qobject_cast<QLineEdit*>(w);', 0),
            ('a safe cast of a class without one', EDIT_WITHOUT_META, 'auto* e = dynamic_cast<TEdit*>(w);', 0),
            ('a lookup in a comment or a text', EDIT_WITHOUT_META,
             '// findChildren<TEdit*>()\nconst char* s = "qobject_cast<TEdit*>";', 0),
        ]
        for what, header, use, expected in cases:
            with self.subTest(what):
                found = self.faults({'ui/Edit.h': header, 'ui/Finder.h': FINDER,
                                     'app/Use.cpp': 'void f() {\n' + use + '\n}\n'})
                self.assertEqual(len(found), expected, found)
                if expected:
                    self.assertTrue(found[0].startswith(os.path.join('app', 'Use.cpp') + ':2: '), found[0])
                    self.assertIn('TEdit', found[0])

    def test_an_enum_class_is_no_class(self):
        found = self.faults({'a.h': 'enum class TEdit : int { A };\nauto* e = qobject_cast<TEdit*>(w);\n'})
        self.assertEqual(found, [])


if __name__ == '__main__':
    unittest.main()
