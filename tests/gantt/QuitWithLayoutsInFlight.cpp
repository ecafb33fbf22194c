// Starts many layouts and quits while they run: the process must end by itself,
// without errors (run under the sanitizers by make test and make tsan).
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <vxplan/timeitems/vxTimeDistinctGeneric.h>

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::vector<vx::TObject> refs(30000);
  int delivered = 0;
  {
    QApplication app(argc, argv);
    std::vector<vx::TTimeDistinctGenericThread*> threads;
    for (int k = 0; k < vx::TTimeDistinctGenericThread::MaxThreads; ++k) {
      auto* t = new vx::TTimeDistinctGenericThread();
      for (int i = 0; i < (k % 2 ? 30000 : 50); ++i)
        t->GetList()->Add(45000 + i / 100.0, 45000 + i / 100.0 + 0.2, "", &refs[static_cast<size_t>(i)]);
      t->fOnDone = [&delivered](vx::TObject*) { ++delivered; };
      t->Start();
      threads.push_back(t);
    }
    QCoreApplication::processEvents();
    // Half are stopped and disposed of, half are let go to finish and free
    // themselves: the application goes with all of them in flight.
    for (size_t k = 0; k < threads.size(); k += 2) vx::TTimeDistinctGenericThread::FreeAndCleanUp(threads[k]);
    for (size_t k = 1; k < threads.size(); k += 2) vx::TThread::FreeWhenDone(threads[k]);
  }
  std::printf("quit with layouts in flight; %d delivered before\n", delivered);
  return 0;
}
