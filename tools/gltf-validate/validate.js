// Validates one glTF file with the Khronos validator and prints its report as JSON.
// Exit status: 0 when the file has no errors and no warnings, 1 when it has some, 2 on misuse.
'use strict';
const fs = require('fs');
const path = require('path');
const validator = require('gltf-validator');

const file = process.argv[2];
if (!file) {
  console.error('usage: node validate.js FILE.glb');
  process.exit(2);
}
let bytes;
try {
  bytes = new Uint8Array(fs.readFileSync(file));
} catch (e) {
  console.error(`cannot read ${file}: ${e.message}`);
  process.exit(2);
}
validator.validateBytes(bytes, {uri: path.basename(file), maxIssues: 100})
  .then((report) => {
    console.log(JSON.stringify(report, null, 1));
    const {numErrors, numWarnings} = report.issues;
    process.exit(numErrors === 0 && numWarnings === 0 ? 0 : 1);
  })
  .catch((error) => {
    console.error(`validator failed: ${error}`);
    process.exit(2);
  });
