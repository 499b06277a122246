# Convenience wrapper; build.sh does the work (the README's commands call it directly).
.PHONY: run test bench fuzz clean
run test bench fuzz:
	@./build.sh $@
clean:
	rm -rf build build-test build-bench build-fuzz
