// SPDX-License-Identifier: GPL-3.0-or-later
// The modern page of the `marked` set, served over HTTP, as web authors check pages: the Nu Html
// Checker (no error, no warning; the right-to-left page too), axe-core with every rule and
// Lighthouse desktop (100 in each).
//
// usage: node checkers.test.mjs ROLLCRAFT_BINARY WORK_DIR
import { chromium } from 'playwright-core';
import { execFile } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { promisify } from 'node:util';
import { axeViolations, boxes, check, main, modules } from './site.mjs';

const run = promisify(execFile);

// The checker refuses local addresses: it reads the file. Anything but plain information fails.
async function nuChecker(...files) {
  const { stderr } = await run('java', ['-jar', path.join(modules, 'vnu-jar/build/dist/vnu.jar'), '--format', 'json', ...files])
    .catch((e) => e);
  const messages = JSON.parse(stderr).messages.filter((m) => m.type !== 'info' || m.subType === 'warning')
    .map((m) => `${path.basename(m.url)}: ${m.type}: ${m.message} (line ${m.lastLine})`);
  check('Nu Html Checker', messages.join('; '), '');
}

async function axe(url) {
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--headless', '--no-sandbox'] });
  try {
    // The page's policy would refuse the injected checker too.
    const page = await browser.newPage({ bypassCSP: true });
    await page.goto(url);
    await page.evaluate(boxes); // every picture has come
    check('pictures that do not load', await page.evaluate(() => [...document.images].filter((i) => !i.naturalWidth).map((i) => i.src).join(' ')), '');
    check('axe-core', await axeViolations(page), '');
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

await main('checkers', ({ workDir, site, origin }) => Promise.all([
  nuChecker(path.join(site, 'marked-modern.html'), path.join(site, 'arabic-modern.html')),
  axe(`${origin}/marked-modern.html`), lighthouse(`${origin}/marked-modern.html`, path.join(workDir, 'lighthouse.json'))]));
