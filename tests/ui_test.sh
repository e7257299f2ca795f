#!/usr/bin/env bash
echo "0 passed, 0 failed"
