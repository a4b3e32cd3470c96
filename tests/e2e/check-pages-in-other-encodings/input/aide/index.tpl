<html><head><meta charset="utf-8"></head><body>
<ul>
  <!-- <template target="main" /> -->
</ul>
</body></html>
