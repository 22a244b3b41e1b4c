// SPDX-License-Identifier: GPL-3.0-or-later
// The modern page of the `marked` set, served over HTTP, as web authors check pages: the Nu Html
// Checker (no error, no warning), axe-core with every rule and Lighthouse desktop (100 in each).
//
// usage: node checkers.test.mjs ROLLCRAFT_BINARY WORK_DIR
import { chromium } from 'playwright-core';
import { execFile } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { promisify } from 'node:util';
import { check, expected, main, sets, showing } from './site.mjs';

const run = promisify(execFile);
const modules = path.join(path.dirname(fileURLToPath(import.meta.url)), 'node_modules');

// The checker refuses local addresses: it reads the file. Anything but plain information fails.
async function nuChecker(file) {
  const { stderr } = await run('java', ['-jar', path.join(modules, 'vnu-jar/build/dist/vnu.jar'), '--format', 'json', file])
    .catch((e) => e);
  const messages = JSON.parse(stderr).messages.filter((m) => m.type !== 'info' || m.subType === 'warning')
    .map((m) => `${m.type}: ${m.message} (line ${m.lastLine})`);
  check('Nu Html Checker', messages.join('; '), '');
}

async function axe(url) {
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--headless', '--no-sandbox'] });
  try {
    // The page's policy would refuse the injected checker too.
    const page = await browser.newPage({ bypassCSP: true });
    await page.goto(url);
    check('every picture loads', await page.evaluate(showing), expected(sets.marked));
    await page.addScriptTag({ path: path.join(modules, 'axe-core/axe.min.js') });
    check('axe-core', await page.evaluate(async () => {
      const rules = Object.fromEntries(window.axe.getRules().map((r) => [r.ruleId, { enabled: true }]));
      const result = await window.axe.run(document, { rules });
      return result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(', ')}`).join('; ');
    }), '');
  } finally {
    await browser.close();
  }
}

async function lighthouse(url, report) {
  await run(process.execPath, [path.join(modules, 'lighthouse/cli/index.js'), url, '--preset=desktop',
    '--quiet', '--chrome-flags=--headless=new --no-sandbox', '--output=json', `--output-path=${report}`],
  { env: { ...process.env, CHROME_PATH: '/usr/bin/chromium' } });
  const { categories, audits } = JSON.parse(fs.readFileSync(report, 'utf8'));
  for (const c of Object.values(categories)) {
    const failing = c.auditRefs.filter((r) => r.weight > 0 && audits[r.id].score !== null && audits[r.id].score < 1);
    check(`Lighthouse ${c.title}`, `${Math.round(c.score * 100)} ${failing.map((r) => r.id).join(' ')}`.trim(), '100');
  }
}

await main('checkers', ({ workDir, site, origin }) => Promise.all([nuChecker(path.join(site, 'marked-modern.html')),
  axe(`${origin}/marked-modern.html`), lighthouse(`${origin}/marked-modern.html`, path.join(workDir, 'lighthouse.json'))]));
