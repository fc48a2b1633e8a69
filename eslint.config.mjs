// The page's scripts, checked by ESLint (scripts/check-web-scripts.sh). They are appended to
// the program's script by the build, so `Module` (the program) and
// charts.js's `RealtopiaChart` are page.js's to use.
import js from '@eslint/js';
import globals from 'globals';

export default [
  js.configs.recommended,
  {
    files: ['web/**/*.js'],
    languageOptions: {
      ecmaVersion: 2022,
      sourceType: 'script',
      globals: { ...globals.browser, Module: 'readonly' },
    },
    rules: {
      'no-unused-vars': ['error', { args: 'none', caughtErrors: 'none' }],
      eqeqeq: 'error',
      'no-var': 'error',
      'prefer-const': 'error',
      // Emscripten 3.1.6's optimiser, which the build runs over these files, mangles it.
      'no-restricted-syntax': [
        'error',
        {
          selector: 'ForOfStatement > VariableDeclaration > VariableDeclarator > :matches(ArrayPattern, ObjectPattern)',
          message: "Emscripten's optimiser mangles a destructuring for-of",
        },
      ],
    },
  },
  { files: ['web/page.js'], languageOptions: { globals: { RealtopiaChart: 'readonly' } } },
];
