// SPDX-License-Identifier: GPL-3.0-or-later
// The page's sources and the browser journeys beside the C++ tests; run from the project's
// root (npm run lint) so both lie below the base path.
import js from "@eslint/js";
import tseslint from "typescript-eslint";
import { defineConfig } from "eslint/config";

export default defineConfig(
  { ignores: ["web/node_modules/**"] },
  {
    files: ["web/**/*.ts", "web/*.js"],
    extends: [js.configs.recommended, ...tseslint.configs.recommended],
  },
  {
    files: ["tests/web/**/*.mjs", "bench/**/*.mjs"],
    extends: [js.configs.recommended],
    languageOptions: {
      globals: {
        process: "readonly",
        URL: "readonly",
        console: "readonly",
        Buffer: "readonly",
        window: "readonly",
        document: "readonly",
        Navigator: "readonly",
        DataTransfer: "readonly",
        DragEvent: "readonly",
        File: "readonly",
        HTMLSelectElement: "readonly",
      },
    },
  },
);
