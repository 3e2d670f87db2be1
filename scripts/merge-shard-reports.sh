#!/usr/bin/env bash
# Merges the reports of the shards of one batch (each run with --shard=K/N --report=FILE) into the report the batch
# would have written in one run: the file lines in the order of the whole batch (their index), then one summary line
# recomputed from them; jobs and milliseconds are the largest of the shards', workers_started their sum, and
# in_process and interrupted are true when they are in any shard's summary. Refuses reports that name one input
# twice (a shard run twice, or one report given twice).
# Indexes and paths are those each shard saw: when every shard sees the input tree at the same path, the merged
# report is the plain run's but for the timings and the workers started. A shard that sees it elsewhere (another
# mount point) collects the files in another order, so its indexes differ; every file still has its one line.
# Usage: scripts/merge-shard-reports.sh report-1.jsonl ... report-N.jsonl > report.jsonl
set -euo pipefail
if [ $# -eq 0 ]; then
  echo "usage: $0 REPORT..." >&2
  exit 2
fi
exec jq -c -n '
  [inputs] as $lines
  | ($lines | map(select(.type == "file")) | sort_by(.index)) as $files
  | ($lines | map(select(.type == "summary"))) as $summaries
  | if ($files | map(.input_hex // .input) | unique | length) != ($files | length)
    then error("an input appears in more than one line") else . end
  | $files[],
    {type: "summary",
     files: ($files | length),
     converted: ($files | map(select(.converted)) | length),
     failed: ($files | map(select((.converted | not) and .reason != "skipped" and .reason != "dry_run")) | length),
     skipped: ($files | map(select(.reason == "skipped")) | length),
     jobs: ($summaries | map(.jobs) | max // 0),
     milliseconds: ($summaries | map(.milliseconds) | max // 0),
     workers_started: ($summaries | map(.workers_started // 0) | add // 0),
     in_process: ($summaries | any(.in_process == true)),
     interrupted: ($summaries | any(.interrupted == true))}
' "$@"
