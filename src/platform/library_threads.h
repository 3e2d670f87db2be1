#pragma once
// The camera decoder inside the image library runs parts of its work on OpenMP threads, as many as there are
// cores. Several files decoded at once would then run more threads than cores, and OpenMP's idle threads spin
// while they wait: the files slow each other down. A thread that decodes one of several files at once limits its
// share instead.

namespace lumivane {

// Later OpenMP work started from the calling thread uses at most `threads` threads (at least 1). Nothing happens
// when no OpenMP runtime is loaded.
void LimitLibraryThreads(int threads);

// The threads each of `jobs` files decoded at once may use on a machine with `cores` cores: an equal share, at
// least 1; 0 (the library's own choice) for a single job.
int LibraryThreadsPerJob(int jobs, unsigned cores);

}  // namespace lumivane
