# The two commands of the README. Everything else lives in scripts/.
.PHONY: run test

run:
	bash scripts/run.sh

test:
	bash scripts/test.sh
